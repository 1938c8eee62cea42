#pragma once

#include <QIcon>
#include <QWidget>

#include <string>

class QTextBrowser;

namespace lw {

// Shows a text file beside the program: the notes a user reads first.
// One viewer at a time; Esc closes it, and closing frees it.
class TfShowHtml : public QWidget {
    Q_OBJECT
public:
    explicit TfShowHtml(QWidget* parent = nullptr);
    ~TfShowHtml() override;

    // The viewer open now, if any.
    static TfShowHtml* Current();

    QTextBrowser* Browser;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Shows path in the viewer, captioned caption: modally over owner, or on
// its own when nonModal is set. A missing file is told and nothing opens; a
// viewer already open is brought forward instead.
void ShowNotes(const std::string& caption, const std::string& path, QWidget* owner,
               const QIcon& icon, bool nonModal);

} // namespace lw
