#pragma once

class QProgressBar;
class QString;

namespace lw {

class TNotInstalledPage;

// What a sheet asks of the window that opened it: the main window lies above
// the sheets, so they reach it only through this.
class ISheetHost {
public:
    virtual ~ISheetHost() = default;
    // Shown, raised and active, with the installed family at index selected
    // (-1: none of them).
    virtual void BringForward() = 0;
    virtual void ShowInstalledFamily(int index) = 0;
    // True once the program is ending: closing a sheet then stores nothing.
    virtual bool Terminating() const = 0;
    virtual TNotInstalledPage* NotInstalledPage() const = 0;
    // The load indicator of a folder's files, from start to stop; while it
    // runs Esc in the main window cancels the load.
    virtual void StartLoading() = 0;
    virtual void ShowStatus(const QString& text) = 0;
    virtual QProgressBar* LoadProgressBar() const = 0;
    virtual bool LoadWasCancelled() const = 0;
    virtual void StopLoading() = 0;
};

} // namespace lw
