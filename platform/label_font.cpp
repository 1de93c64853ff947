#include "platform/label_font.h"

#include <climits>
#include <cstring>
#include <vector>

std::string ChooseLabelFace(const std::function<int(const char* face)>& missing, const char* preferred) {
    const int dialogMissing = missing(kDialogFace);
    if (dialogMissing == 0) return kDialogFace;
    std::vector<const char*> faces;
    if (preferred) faces.push_back(preferred);
    for (const char* face : kFallbackFaces)
        if (!preferred || std::strcmp(face, preferred) != 0) faces.push_back(face);
    const char* fewest = kDialogFace;
    int fewestMissing = dialogMissing < 0 ? INT_MAX : dialogMissing;
    for (const char* face : faces) {
        const int m = missing(face);
        if (m == 0) return face;
        if (m > 0 && m < fewestMissing) fewest = face, fewestMissing = m;
    }
    return fewest;
}
