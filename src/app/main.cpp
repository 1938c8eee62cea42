#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "app/strings.h"
#include "platform/linux/linux_platform.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(lw::kApplicationTitle));
    lw::TQtPrompts prompts;
    lw::TLinuxPlatform platform(prompts);
    int result = 0;
    {
        lw::TfMain_letterwell mainWindow;
        mainWindow.show();
        result = QApplication::exec();
    }
    // Back to the built-in language, which lets the bundle go.
    lw::SetLanguage(0);
    return result;
}
