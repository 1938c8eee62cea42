#include "pages/drawable_preview.h"

#include "base/strings.h"
#include "categories/auto_categories.h"
#include "categories/sample_mark.h"
#include "controls/coverage_image.h"
#include "fonts/drawable_sample.h"
#include "fonts/face_facts.h"
#include "fonts/font_facts.h"
#include "platform/services.h"

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace lw {

namespace {
constexpr int kMaxWidth = 2000;
} // namespace

TDrawablePreview::TDrawablePreview(QWidget* parent) : QWidget(parent) {
    lblMark = new QLabel(this);
    lblMark->setObjectName(QStringLiteral("lblDrawableMark"));
    QFont small = lblMark->font();
    small.setItalic(true);
    lblMark->setFont(small);
    imgSample = new QLabel(this);
    imgSample->setObjectName(QStringLiteral("imgDrawableSample"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lblMark);
    row->addWidget(imgSample, 1);
    hide();
}

void TDrawablePreview::ShowFor(const std::string& file, int index, const QString& asked,
                               int pixelSize) {
    if (file != File || index != Index) {
        File = file;
        Index = index;
        Codes = file.empty() ? std::nullopt
                             : FaceCodePoints(file, static_cast<uint32_t>(index & 0xFFFF));
    }
    PixelSize = pixelSize;
    SampleEdited(asked);
}

void TDrawablePreview::SampleEdited(const QString& asked) {
    const std::string& file = File;
    const int index = Index;
    const int pixelSize = PixelSize;
    if (file.empty()) {
        hide();
        return;
    }
    const TDrawableSample sample = ChooseSample(asked.toStdU32String(), Codes);
    if (sample.Kind == TDrawableSample::Asked) {
        hide();
        return;
    }
    imgSample->clear();
    lblMark->setText(SampleMark(sample));
    if (sample.Kind != TDrawableSample::Nothing) {
        const std::optional<TCoverage> line =
            FaceRasterizer().DrawLine(file, index, pixelSize, sample.Text, kMaxWidth);
        if (line) {
            // Ink in the text colour of the palette, on the widget's ground.
            imgSample->setPixmap(
                QPixmap::fromImage(CoverageImage(*line, palette().color(QPalette::WindowText))));
        }
    }
    show();
}

} // namespace lw
