// JPEG through libjpeg-turbo, scanlines decoded straight into the BGRA
// pixels. libjpeg's default error handler ends the process; ours jumps back
// instead, and the jumps stay inside the small functions that call setjmp.
// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "Decoded.h"
#include "ExifIfd.h"

namespace orv::image {
namespace {

// A progressive file with more scans than this is hostile: each scan makes
// libjpeg walk the whole coefficient buffer again.
constexpr int kMaxScans = 1000;

struct JpegErrors {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    // Warnings are recoverable, but a file that ends early leaves rows of
    // grey that must not pass for an image.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        reinterpret_cast<JpegErrors*>(cinfo->err)->truncated = true;
    }
}

void OnProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->input_scan_number > kMaxScans) {
            cinfo->err->msg_code = JERR_NOT_COMPILED;  // any code: we only stop
            std::snprintf(reinterpret_cast<JpegErrors*>(cinfo->err)->message, JMSG_LENGTH_MAX,
                          "more than %d scans", kMaxScans);
            longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
        }
    }
}

// The smallest of the scales 1/8, 1/4, 1/2 that keeps the height at least
// minHeight; the output size follows from it.
void ChooseScale(jpeg_decompress_struct* cinfo, uint32_t minHeight) {
    cinfo->scale_num = 1;
    cinfo->scale_denom = 1;
    if (minHeight > 0) {
        for (unsigned denom : {8u, 4u, 2u}) {
            if (cinfo->image_height / denom >= minHeight) {
                cinfo->scale_denom = denom;
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(cinfo);
}

bool ReadHeader(jpeg_decompress_struct* cinfo, JpegErrors* err, jpeg_progress_mgr* progress, ByteSpan bytes,
                uint32_t minHeight) {
    if (setjmp(err->jump)) return false;
    jpeg_create_decompress(cinfo);  // clears every field but the error manager
    cinfo->progress = progress;
    jpeg_mem_src(cinfo, bytes.data, static_cast<unsigned long>(bytes.size));
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    ChooseScale(cinfo, minHeight);
    return true;
}

// Rows of BGRA; CMYK and YCCK files give rows of CMYK, which ConvertCmyk
// then turns into BGRA in place.
void ChooseOutputSpace(jpeg_decompress_struct* cinfo) {
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
}

// Rows that a decoder stuck for want of input never delivers count as a file
// that ends early (our memory source never runs dry, so that is defence only).
void ReadScanlines(jpeg_decompress_struct* cinfo, JpegErrors* err, uint8_t* pixels, size_t stride) {
    JSAMPROW rows[16];
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION n = std::min<JDIMENSION>(16, cinfo->output_height - cinfo->output_scanline);
        for (JDIMENSION i = 0; i < n; ++i) rows[i] = pixels + size_t(cinfo->output_scanline + i) * stride;
        if (jpeg_read_scanlines(cinfo, rows, n) == 0) {
            err->truncated = true;
            return;
        }
    }
}

bool ReadPixels(jpeg_decompress_struct* cinfo, JpegErrors* err, uint8_t* pixels, size_t stride) {
    if (setjmp(err->jump)) return false;
    ChooseOutputSpace(cinfo);
    jpeg_start_decompress(cinfo);
    ReadScanlines(cinfo, err, pixels, stride);
    jpeg_finish_decompress(cinfo);
    return true;
}

// At 1/8 scale each block's pixels come from its DC coefficient alone
// (a subsampled colour block's 2x2 pixels then all show its DC), and a
// progressive file sends the DC coefficients of every block before any
// detail. A preview at that scale reads on only until every component's DC
// is known to its last bit but one (a step of at most 1/8 of a quantiser) and
// leaves the rest of the file, typically nine tenths of it, unread.
bool DcIsKnown(const jpeg_decompress_struct* cinfo) {
    for (int c = 0; c < cinfo->num_components; ++c) {
        const int bits = cinfo->coef_bits[c][0];  // -1 until the first DC scan
        if (bits < 0 || bits > 1) return false;
    }
    return true;
}

bool ReadProgressiveDc(jpeg_decompress_struct* cinfo, JpegErrors* err, uint8_t* pixels, size_t stride) {
    if (setjmp(err->jump)) return false;
    ChooseOutputSpace(cinfo);
    cinfo->buffered_image = TRUE;
    cinfo->do_block_smoothing = FALSE;  // no guessed detail: the DC alone
    jpeg_start_decompress(cinfo);
    for (;;) {
        const int r = jpeg_consume_input(cinfo);
        if (r == JPEG_REACHED_EOI || r == JPEG_SUSPENDED) break;
        if (r == JPEG_SCAN_COMPLETED && DcIsKnown(cinfo)) break;
    }
    jpeg_start_output(cinfo, cinfo->input_scan_number);
    ReadScanlines(cinfo, err, pixels, stride);
    // A file that ends before its DC is complete fails like any cut-off file.
    if (!DcIsKnown(cinfo)) err->truncated = true;
    jpeg_abort_decompress(cinfo);
    return true;
}

// CMYK to BGRA. Files with an Adobe marker (nearly all CMYK files) store the
// inks inverted.
void ConvertCmyk(uint8_t* pixels, size_t count, bool inverted) {
    const unsigned flip = inverted ? 0 : 255;
    for (size_t i = 0; i < count; ++i) {
        uint8_t* p = pixels + i * 4;
        const unsigned c = p[0] ^ flip, m = p[1] ^ flip, y = p[2] ^ flip, k = p[3] ^ flip;
        p[0] = static_cast<uint8_t>(y * k / 255);
        p[1] = static_cast<uint8_t>(m * k / 255);
        p[2] = static_cast<uint8_t>(c * k / 255);
        p[3] = 255;
    }
}

// Item 34675 from the APP2 ICC_PROFILE chunks, joined in sequence order; only
// a complete set of chunks (each number from 1 to the count exactly once)
// makes an item. Items of IFD0 from the first APP1 Exif block.
void ReadMarkers(jpeg_decompress_struct* cinfo, Decoded* out) {
    static const char kIcc[] = "ICC_PROFILE";  // with its NUL: 12 bytes
    static const char kExif[] = "Exif\0";      // "Exif" NUL NUL: 6 bytes
    std::vector<const jpeg_marker_struct*> chunks;
    int count = -1;
    bool iccBroken = false;
    const jpeg_marker_struct* exif = nullptr;
    for (auto* m = cinfo->marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 2 && m->data_length >= 14 && std::memcmp(m->data, kIcc, 12) == 0) {
            const int seq = m->data[12], total = m->data[13];
            if (count < 0) count = total;
            if (total != count || seq < 1 || seq > total) iccBroken = true;
            chunks.push_back(m);
        } else if (m->marker == JPEG_APP0 + 1 && !exif && m->data_length >= 6 &&
                   std::memcmp(m->data, kExif, 6) == 0) {
            exif = m;
        }
    }
    if (!chunks.empty() && !iccBroken && static_cast<int>(chunks.size()) == count) {
        std::sort(chunks.begin(), chunks.end(), [](auto* a, auto* b) { return a->data[12] < b->data[12]; });
        bool complete = true;
        std::vector<uint8_t> profile;
        for (size_t i = 0; i < chunks.size(); ++i) {
            if (chunks[i]->data[12] != i + 1) complete = false;
            profile.insert(profile.end(), chunks[i]->data + 14, chunks[i]->data + chunks[i]->data_length);
        }
        if (complete) out->AddProperty(kTagIccProfile, kPropertyUndefined, std::move(profile));
    }
    if (exif) ReadIfd0Items(exif->data + 6, exif->data_length - 6, out);
}

}  // namespace

void DecodeJpeg(ByteSpan bytes, Decoded* out) {
    jpeg_decompress_struct cinfo{};
    JpegErrors err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = OnProgress;

    if (!ReadHeader(&cinfo, &err, &progress, bytes, out->options.minHeight)) {
        out->Fail(Status::CorruptData, std::string("JPEG header: ") + err.message);
    } else if (out->AllocatePixels(cinfo.output_width, cinfo.output_height)) {
        // The saved markers live only until jpeg_finish_decompress.
        ReadMarkers(&cinfo, out);
        const size_t stride = size_t{out->width} * 4;
        const bool dcOnly = cinfo.progressive_mode && cinfo.scale_denom == 8;
        if (!(dcOnly ? ReadProgressiveDc : ReadPixels)(&cinfo, &err, out->pixels.get(), stride)) {
            out->Fail(Status::CorruptData, std::string("JPEG data: ") + err.message);
        } else if (err.truncated) {
            out->Fail(Status::CorruptData, "JPEG data: file ends early");
        } else {
            if (cinfo.out_color_space == JCS_CMYK)
                ConvertCmyk(out->pixels.get(), size_t{out->width} * out->height, cinfo.saw_Adobe_marker);
        }
    }
    jpeg_destroy_decompress(&cinfo);
}

}  // namespace orv::image
