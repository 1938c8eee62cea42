#include "app/main_window.h"

#include "app/localize.h"
#include "app/strings.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace lw {

namespace {
constexpr int kDesignWidth = 725;
constexpr int kDesignHeight = 500;
constexpr int kMoreAbout = 4;
constexpr const char* kCredit = "Kestrova Letterwell, upravljanje fontovima";
} // namespace

TfMain_letterwell::TfMain_letterwell(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fMain_letterwell"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kDesignWidth, kDesignHeight);
    StatusPanel0 = new QLabel(this);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    statusBar()->addWidget(StatusPanel0, 11);
    statusBar()->addWidget(StatusPanel1, 4);
    FormCreate();
}

TfMain_letterwell::~TfMain_letterwell() { FormDestroy(); }

void TfMain_letterwell::FormCreate() {
    lw::LoadSettings(*this);
    LocalizeForm(this);
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    SetHint(this, QString::fromUtf8(kCredit) + QString::fromStdString(LoadStr(kMoreAbout)));
}

void TfMain_letterwell::FormDestroy() {
    if (Destroyed) {
        return;
    }
    Destroyed = true;
    lw::SaveSettings(*this);
}

bool TfMain_letterwell::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        StatusPanel0->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

TSize TfMain_letterwell::MonitorSize() const {
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) {
        return {kMinimumWidth, kMinimumHeight};
    }
    return {s->geometry().width(), s->geometry().height()};
}

TBounds TfMain_letterwell::WindowBounds() const {
    const QRect normal = isMaximized() ? normalGeometry() : QRect(pos(), size());
    return {normal.x(), normal.y(), normal.width(), normal.height()};
}

void TfMain_letterwell::SetWindowSize(int width, int height) { resize(width, height); }

void TfMain_letterwell::SetWindowPosition(int left, int top) { move(left, top); }

bool TfMain_letterwell::IsMaximized() const { return isMaximized(); }

void TfMain_letterwell::SetMaximized() { setWindowState(windowState() | Qt::WindowMaximized); }

void TfMain_letterwell::RestoreNormal() { setWindowState(windowState() & ~Qt::WindowMaximized); }

std::string TfMain_letterwell::NotInstalledPath() const { return NotInstalledFolder; }

void TfMain_letterwell::SetNotInstalledPath(const std::string& path) { NotInstalledFolder = path; }

void TfMain_letterwell::RebuildFolderTree() {}

void TfMain_letterwell::ApplySettings() {}

} // namespace lw
