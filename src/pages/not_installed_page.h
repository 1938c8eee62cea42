#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace lw {

// The page for font files that are not installed: a folder's files, their
// details and a sample.
class TNotInstalledPage : public QWidget {
    Q_OBJECT
public:
    explicit TNotInstalledPage(QWidget* parent = nullptr);

    QLabel* lblSample1;
    QPlainTextEdit* mmSampleNotInst;
};

} // namespace lw
