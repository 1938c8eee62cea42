#include "app/catalogue_reader.h"
#include "app/main_window.h"
#include "app/qt_app_fonts.h"
#include "app/qt_prompts.h"
#include "base/strings.h"
#include "categories/organize_dialog.h"
#include "fonts/font_manager.h"
#include "platform/linux/interface_fonts.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/termination_signals.h"
#include "sheets/view_all.h"

#include <QApplication>
#include <QIcon>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// With LETTERWELL_START_TIMES set, the wall clock (nanoseconds) is printed
// when the main window first paints and when it first paints with the
// installed families listed, for start-up benchmarks that time the program
// from outside.
class TStartTimes : public QObject {
public:
    TStartTimes(QWidget* window, const bool& listed) : Window(window), Listed(listed) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == Window) {
            if (!Shown) {
                Shown = true;
                Print("shown");
            } else if (Listed && !ListShown) {
                ListShown = true;
                Print("listed");
            }
        }
        return false;
    }

private:
    static void Print(const char* what) {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("%s %lld\n", what,
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
    }
    QWidget* Window;
    const bool& Listed;
    bool Shown = false;
    bool ListShown = false;
};

} // namespace

int main(int argc, char** argv) {
    // Before Qt reads a font: its database holds the interface's fonts only.
    lw::UseInterfaceFontsOnly();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(lw::kApplicationTitle));
    // Ties the windows to the installed menu entry (the Wayland app id), and
    // gives them the installed icon where a desktop does not look it up.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.kestrova.Letterwell"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("letterwell")));
    lw::TQtPrompts prompts;
    lw::TLinuxPlatform platform(prompts);
    lw::TQtApplicationFonts applicationFonts;
    // The catalogue lives longer than every window that reads it; its first
    // look is taken while the windows are built.
    lw::FontManager = std::make_unique<lw::TFontManager>(lw::TFontManager::TFirstLook::Later);
    lw::TCatalogueReader reader(platform.FontSystem());
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
        bool listed = false;
        reader.Read = [&mainWindow, &listed](std::unique_ptr<lw::TFontReading> reading) {
            mainWindow.FontsRead(std::move(reading));
            listed = true;
        };
        TStartTimes startTimes(&mainWindow, listed);
        if (std::getenv("LETTERWELL_START_TIMES") != nullptr) {
            app.installEventFilter(&startTimes);
        }
        mainWindow.show();
        // A logout, kill or Ctrl+C ends the program as File > Exit does.
        const lw::TTerminationSignals terminationSignals([&mainWindow] { mainWindow.close(); });
        result = QApplication::exec();
        reader.Read = nullptr;
        app.removeEventFilter(&startTimes);
    }
    organize.reset();
    lw::FontManager.reset();
    // Back to the built-in language, which lets the bundle go.
    lw::SetLanguage(0);
    return result;
}
