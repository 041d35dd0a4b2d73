#include "Strings.h"

namespace orv::strings {

std::string_view Text(int id) {
    switch (id) {
        case kDocumentString:
            return "Tessaly CAD Panorama\n\nTessaly Panorama\nTessaly CAD Panorama Dateien (*.orvp;*.orvp2)\n"
                   ".orvp;.orvp2\nTessalyCAD.Orvalen.Document\nTessalyCAD.Orvalen.Document";
        case kOpenGlFailed:
            return "Bei der Initialisierung von OpenGL ist ein Fehler aufgetreten!\n%s ungültig.";
        case kImageLibraryFailed:
            return "Bei der Initialisierung von GDI+ ist ein Fehler aufgetreten!";
        case kPanoramaNotLoaded:
            return "Das Panorama\n%s\nkonnte nicht geladen werden!";
        case kOleFailed:
            return "OLE-Initialisierungsfehler. Stellen Sie sicher, dass die OLE-Bibliotheken in der richtigen "
                   "Version vorliegen.";
        default:
            return {};
    }
}

std::string Format(int id, std::string_view argument) {
    std::string text(Text(id));
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

}  // namespace orv::strings
