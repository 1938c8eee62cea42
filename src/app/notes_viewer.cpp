#include "app/notes_viewer.h"

#include "platform/services.h"

#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <cmath>
#include <filesystem>

namespace lw {

namespace {

QPointer<TfShowHtml> OpenViewer;

} // namespace

TfShowHtml::TfShowHtml(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("fShowHtml"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    // The text leaves Esc to the window, which closes.
    OpenViewer = this;
}

TfShowHtml::~TfShowHtml() = default;

TfShowHtml* TfShowHtml::Current() {
    return OpenViewer.data();
}

void TfShowHtml::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ShowNotes(const std::string& caption, const std::string& path, QWidget* owner,
               const QIcon& icon, bool nonModal) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        Prompts().MessageBox("Couldn't find the file " + path, "Error", TMsgIcon::Error,
                             TMsgButtons::Ok);
        return;
    }
    if (TfShowHtml* open = TfShowHtml::Current()) {
        open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return; // gone between the look and the read: nothing to show
    }
    auto* viewer = new TfShowHtml(nonModal ? nullptr : owner);
    viewer->setWindowTitle(QString::fromStdString(caption));
    if (!icon.isNull()) {
        viewer->setWindowIcon(icon);
    }
    viewer->Browser->setPlainText(QString::fromUtf8(file.readAll()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect monitor = screen->geometry();
        viewer->resize(static_cast<int>(std::nearbyint(0.8 * monitor.width())),
                       static_cast<int>(std::nearbyint(0.7 * monitor.height())));
        viewer->move(monitor.center() - viewer->rect().center());
    }
    if (nonModal) {
        viewer->show();
        return;
    }
    viewer->setWindowModality(Qt::ApplicationModal);
    QEventLoop running;
    QObject::connect(viewer, &QObject::destroyed, &running, &QEventLoop::quit);
    viewer->show();
    running.exec();
}

} // namespace lw
