// Writes RGB rows to a PNG file through libpng.
#pragma once

#include <cstdint>
#include <string>

// rows: height rows of width * 3 bytes, the top row first. False, with the
// reason in *error, when the file cannot be written.
bool WriteRgbPng(const std::string& path, const uint8_t* rows, int width, int height, std::string* error);
