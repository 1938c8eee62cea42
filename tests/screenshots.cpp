// letterwell-screenshots FOLDER: renders every window on the offscreen
// platform into PNG files, so the program can be looked at without a display.
// Runs in a temporary home, so the real settings are never read or written.
#include "app/main_window.h"
#include "app/strings.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"
#include "test_home.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdlib>
#include <iostream>

namespace {

bool Save(QWidget& window, const QString& folder, const QString& name) {
    window.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
        return false;
    }
    std::cout << path.toStdString() << "\n";
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: letterwell-screenshots FOLDER\n";
        return 2;
    }
    lw::test::TestHome();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    lw::test::TScriptedPrompts prompts;
    lw::TLinuxPlatform platform(prompts);
    bool ok = true;
    for (int language : {0, 1}) {
        lw::TfMain_letterwell window;
        window.resize(lw::kMinimumWidth, lw::kMinimumHeight);
        lw::SetLanguage(language);
        ok = Save(window, folder, QStringLiteral("main-window-%1").arg(language)) && ok;
    }
    return ok ? 0 : 1;
}
