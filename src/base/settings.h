#pragma once

#include "base/options.h"

#include <string>

namespace lw {

struct TSize {
    int Width = 0;
    int Height = 0;
};

struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// What the main window lends the settings store: its geometry, the folder of
// the not-installed page, and the pushing of the options into its controls.
class ISettingsHost {
public:
    virtual ~ISettingsHost() = default;
    // The monitor the window lies on.
    virtual TSize MonitorSize() const = 0;
    // The normal-state bounds as they are now, also while maximized: the
    // frame's position (as SetWindowPosition takes it) and the client size.
    virtual TBounds WindowBounds() const = 0;
    // The window may refuse sizes below its minimum; read back what it took.
    virtual void SetWindowSize(int width, int height) = 0;
    virtual void SetWindowPosition(int left, int top) = 0;
    virtual bool IsMaximized() const = 0;
    virtual void SetMaximized() = 0;
    virtual std::string NotInstalledPath() const = 0;
    virtual void SetNotInstalledPath(const std::string& path) = 0;
    virtual void RebuildFolderTree() = 0;
    virtual void ApplySettings() = 0;
};

// Reads every setting into Options and the host, in the stored order; any
// read error stops the reading, shows the registry read error once and keeps
// what was not read. ApplySettings runs in every case.
void LoadSettings(ISettingsHost& host);

// Reads the language and the options alone, for work done without windows;
// what cannot be read keeps its default. False when the store could not be
// read.
bool LoadStoredOptions(TOptions& options);

// Writes Options and the host's state; a failure shows the write error.
void SaveSettings(ISettingsHost& host);

} // namespace lw
