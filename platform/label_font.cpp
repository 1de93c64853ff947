#include "platform/label_font.h"

std::string ChooseLabelFace(const std::function<int(const char* face)>& missing) {
    const int dialogMissing = missing(kDialogFace);
    if (dialogMissing <= 0) return kDialogFace;
    const char* fewest = kDialogFace;
    int fewestMissing = dialogMissing;
    for (const char* face : kFallbackFaces) {
        const int m = missing(face);
        if (m == 0) return face;
        if (m > 0 && m < fewestMissing) fewest = face, fewestMissing = m;
    }
    return fewest;
}
