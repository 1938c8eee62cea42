#include "categories/sample_mark.h"

#include "base/strings.h"
#include "categories/auto_categories.h"

namespace lw {

namespace {
constexpr int kNothingDrawable = 30550;
constexpr int kGlyphsMark = 30553;
} // namespace

QString SampleMark(const TDrawableSample& sample) {
    switch (sample.Kind) {
    case TDrawableSample::InScript:
        return QString::fromStdString(LocalScriptName(sample.Script)).toLower();
    case TDrawableSample::Glyphs:
        return QString::fromStdString(LoadStr(kGlyphsMark));
    case TDrawableSample::Nothing:
        return QString::fromStdString(LoadStr(kNothingDrawable));
    case TDrawableSample::Asked:
        break;
    }
    return QString();
}

} // namespace lw
