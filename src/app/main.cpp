#include "app/main_window.h"
#include "app/qt_app_fonts.h"
#include "app/qt_prompts.h"
#include "base/strings.h"
#include "categories/organize_dialog.h"
#include "fonts/font_manager.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/termination_signals.h"
#include "sheets/view_all.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(lw::kApplicationTitle));
    // Ties the windows to the installed menu entry (the Wayland app id), and
    // gives them the installed icon where a desktop does not look it up.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.kestrova.Letterwell"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("letterwell")));
    lw::TQtPrompts prompts;
    lw::TLinuxPlatform platform(prompts);
    lw::TQtApplicationFonts applicationFonts;
    // The catalogue lives longer than every window that reads it.
    lw::FontManager = std::make_unique<lw::TFontManager>();
    int result = 0;
    // Made third and let go last: it saves the category index as it goes.
    std::unique_ptr<lw::TfOrganize> organize;
    {
        lw::TfMain_letterwell mainWindow;
        // Made after the main window and destroyed before it.
        lw::TfViewAll viewAll(&mainWindow);
        mainWindow.SetViewAllWindow(&viewAll);
        organize = std::make_unique<lw::TfOrganize>(
            lw::TCategoryPlaces{lw::PortableProgramFolder(), lw::ProgramDataFolder()});
        mainWindow.SetOrganizeWindow(organize.get());
        mainWindow.show();
        // A logout, kill or Ctrl+C ends the program as File > Exit does.
        const lw::TTerminationSignals terminationSignals([&mainWindow] { mainWindow.close(); });
        result = QApplication::exec();
    }
    organize.reset();
    lw::FontManager.reset();
    // Back to the built-in language, which lets the bundle go.
    lw::SetLanguage(0);
    return result;
}
