// The overlay of a strip image: an encoded image in the colour-profile item
// (34675) and its placement as text in the description item (270). An
// ordinary photograph has no such item, or a real ICC profile there that
// does not decode as an image, and so has no overlay.
#include <string_view>

#include "document/CMOrvalenDoc.h"
#include "document/OverlayDescription.h"
#include "document/TextureUpload.h"
#include "platform/image/Image.h"

using orv::image::Image;

bool CMOrvalenDoc::BuildOverlayFromMetadata(Image& image) {
    if (image.PropertyCount() == 0) return false;
    bool haveProfile = false, haveDescription = false;
    for (uint32_t id : image.PropertyIds()) {
        haveProfile |= id == orv::image::kTagIccProfile;
        haveDescription |= id == orv::image::kTagImageDescription;
    }
    if (!haveProfile || !haveDescription) return false;

    const orv::image::PropertyItem* profile = image.Property(orv::image::kTagIccProfile);
    if (!profile || profile->value.empty()) return false;
    // Decoded where it lies, inside the item: no copy.
    auto overlay = LoadImageFromMemory(profile->value.data(), profile->value.size());
    if (!overlay || overlay->LastStatus() != orv::image::Status::Ok) return false;

    // The description ends at its first NUL or at the end of the item.
    std::string_view text;
    if (const orv::image::PropertyItem* item = image.Property(orv::image::kTagImageDescription)) {
        text = std::string_view(reinterpret_cast<const char*>(item->value.data()), item->value.size());
        text = text.substr(0, text.find('\0'));
    }
    BuildOverlay(*overlay, ParseOverlayDescription(text));
    return true;
}
