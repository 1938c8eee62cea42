#include "controls/drawable_family.h"

#include "platform/services.h"

#include <QFile>
#include <QFontDatabase>

#include <unordered_set>

namespace lw {

void MakeFamilyDrawable(const QString& family) {
    // Files Qt was given; a file it refused is not offered again either.
    static std::unordered_set<std::string> given;
    if (family.isEmpty() || Platform().Fonts == nullptr) {
        return;
    }
    for (const TFaceInfo& face : FontSystem().EnumFaces(family.toStdString())) {
        if (face.File.empty() || !given.insert(face.File).second) {
            continue;
        }
        // Qt opens a file by a name it can spell; one that is not UTF-8 stays
        // as Qt's font matching finds it.
        const QString name = QFile::decodeName(face.File.c_str());
        if (QFile::encodeName(name).toStdString() == face.File) {
            QFontDatabase::addApplicationFont(name);
        }
    }
}

} // namespace lw
