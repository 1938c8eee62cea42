#include "base/settings.h"

#include "base/helpers.h"
#include "base/registry.h"
#include "base/strings.h"
#include "platform/services.h"

namespace lw {

namespace {

constexpr int kReadErrorText = 25;
constexpr int kReadErrorCaption = 1;
constexpr int kWriteErrorText = 24;
constexpr int kWriteErrorCaption = 22;
constexpr int kDefaultSampleText = 10025;

void ReadOptions(const TRegistryDefault& r, TOptions& o, TSize monitor) {
    o.FontSize = r.ReadInteger(reg::FontSize, 24);
    o.FontColor = r.ReadInteger(reg::FontColor, clWindowText);
    o.BackgroundColor = r.ReadInteger(reg::BackgroundColor, clWindow);
    o.DeleteReadOnly = r.ReadBool(reg::DeleteReadOnly, false);
    o.SampleText = r.ReadString(reg::SampleText, LoadStr(kDefaultSampleText));
    o.MoveToTrash = r.ReadBool(reg::MoveToTrash, true);
    o.CopyBeforeDelete = r.ReadBool(reg::CopyBeforeDelete, true);
    o.DefaultCopyFolder = r.ReadString(reg::DefaultCopyFolder, GetPersonalFolderPath());
    o.ShowListWindow = r.ReadBool(reg::ShowListWindow, true);
    o.ListFontSize = r.ReadInteger(reg::ListFontSize, 16);
    o.ListColumns = r.ReadInteger(reg::ListColumns, 3);
    o.ListNormalColor = r.ReadInteger(reg::ListNormalColor, clWindowText);
    o.ListBackgroundColor = r.ReadInteger(reg::ListBackgroundColor, clWindow);
    o.ListSelectedColor = r.ReadInteger(reg::ListSelectedColor, clHighlight);
    o.ListSampleText = r.ReadString(reg::ListSampleText, "");
    o.LastFileOpFolder = r.ReadString(reg::LastFileOpFolder, GetPersonalFolderPath());
    o.ListWidth = r.ReadInteger(reg::ListWidth, monitor.Width - monitor.Width / 8);
    o.ListHeight = r.ReadInteger(reg::ListHeight, monitor.Height - monitor.Height / 8);
    o.ListLeft = r.ReadInteger(reg::ListLeft, 25);
    o.ListTop = r.ReadInteger(reg::ListTop, 25);
    o.ListMaximized = r.ReadBool(reg::ListMaximized, true);
    o.Print.TopMargin = r.ReadFloat(reg::PrintTopMargin, 1.0);
    o.Print.BottomMargin = r.ReadFloat(reg::PrintBottomMargin, 1.0);
    o.Print.LeftMargin = r.ReadFloat(reg::PrintLeftMargin, 1.0);
    o.Print.RightMargin = r.ReadFloat(reg::PrintRightMargin, 1.0);
    o.Print.UseCentimeters = r.ReadBool(reg::UseCentimeters, true);
    o.Print.Range = 0;
    o.Print.UnitFactor = o.Print.UseCentimeters ? 2.54 : 1.0;
}

// Each default is computed from what the window took of the previous value,
// so the centring uses the restored (and minimum-clamped) size.
void ReadWindowPlacement(const TRegistryDefault& r, ISettingsHost& host) {
    const TSize monitor = host.MonitorSize();
    TBounds b = host.WindowBounds();
    host.SetWindowSize(r.ReadInteger(reg::WindowWidth, b.Width), b.Height);
    b = host.WindowBounds();
    host.SetWindowSize(b.Width, r.ReadInteger(reg::WindowHeight, b.Height));
    b = host.WindowBounds();
    const int top = r.ReadInteger(reg::WindowTop, (monitor.Height - b.Height) / 2);
    const int left = r.ReadInteger(reg::WindowLeft, (monitor.Width - b.Width) / 2);
    host.SetWindowPosition(left, top);
    if (r.ReadBool(reg::Maximized, false)) {
        host.SetMaximized();
    }
}

void WriteOptions(TRegistry& r, const TOptions& o) {
    r.WriteInteger(reg::Language, GetLanguage());
    r.WriteInteger(reg::FontSize, o.FontSize);
    r.WriteInteger(reg::FontColor, o.FontColor);
    r.WriteInteger(reg::BackgroundColor, o.BackgroundColor);
    r.WriteString(reg::SampleText, o.SampleText);
    r.WriteBool(reg::DeleteReadOnly, o.DeleteReadOnly);
    r.WriteBool(reg::MoveToTrash, o.MoveToTrash);
    r.WriteBool(reg::CopyBeforeDelete, o.CopyBeforeDelete);
    r.WriteString(reg::DefaultCopyFolder, o.DefaultCopyFolder);
    r.WriteBool(reg::ShowListWindow, o.ShowListWindow);
    r.WriteInteger(reg::ListFontSize, o.ListFontSize);
    r.WriteInteger(reg::ListColumns, o.ListColumns);
    r.WriteInteger(reg::ListNormalColor, o.ListNormalColor);
    r.WriteInteger(reg::ListBackgroundColor, o.ListBackgroundColor);
    r.WriteInteger(reg::ListSelectedColor, o.ListSelectedColor);
    r.WriteString(reg::ListSampleText, o.ListSampleText);
    r.WriteString(reg::LastFileOpFolder, o.LastFileOpFolder);
    r.WriteInteger(reg::ListWidth, o.ListWidth);
    r.WriteInteger(reg::ListHeight, o.ListHeight);
    r.WriteInteger(reg::ListLeft, o.ListLeft);
    r.WriteInteger(reg::ListTop, o.ListTop);
    r.WriteBool(reg::ListMaximized, o.ListMaximized);
    r.WriteFloat(reg::PrintTopMargin, o.Print.TopMargin);
    r.WriteFloat(reg::PrintBottomMargin, o.Print.BottomMargin);
    r.WriteFloat(reg::PrintLeftMargin, o.Print.LeftMargin);
    r.WriteFloat(reg::PrintRightMargin, o.Print.RightMargin);
    r.WriteBool(reg::UseCentimeters, o.Print.UseCentimeters);
}

// The normal bounds are read as the window keeps them: leaving the maximized
// state to measure them would be asynchronous on X11 and measure the wrong
// window, and would un-maximize a window the user keeps maximized.
void WriteWindowPlacement(TRegistry& r, ISettingsHost& host) {
    r.WriteBool(reg::Maximized, host.IsMaximized());
    const TBounds b = host.WindowBounds();
    r.WriteInteger(reg::WindowWidth, b.Width);
    r.WriteInteger(reg::WindowHeight, b.Height);
    r.WriteInteger(reg::WindowTop, b.Top);
    r.WriteInteger(reg::WindowLeft, b.Left);
}

// The stored choice; before the user has made one, the locale's language.
int StoredLanguage(const TRegistryDefault& r) {
    return r.ValueExists(reg::Language) ? r.ReadInteger(reg::Language, 0) : LanguageOfEnvironment();
}

} // namespace

void LoadSettings(ISettingsHost& host) {
    bool failed = false;
    {
        TRegistryDefault r(RegistryHive());
        try {
            try {
                r.OpenKey(kProgramKey, false);
            } catch (const ERegistryError&) {
                // A store that cannot be read at all is reported, and every
                // setting then takes its default as on a first run.
                failed = true;
            }
            SetLanguage(StoredLanguage(r));
            ReadOptions(r, Options, host.MonitorSize());
            ReadWindowPlacement(r, host);
            host.SetNotInstalledPath(r.ReadString(reg::NotInstalledPath, ""));
            r.CloseKey();
        } catch (const ERegistryError&) {
            failed = true;
        }
    }
    host.ApplySettings();
    if (failed) {
        host.RebuildFolderTree();
        Prompts().MessageBox(LoadStr(kReadErrorText), LoadStr(kReadErrorCaption), TMsgIcon::Error,
                             TMsgButtons::Ok);
    }
}

bool LoadStoredOptions(TOptions& options) {
    TRegistryDefault r(RegistryHive());
    bool read = true;
    try {
        try {
            r.OpenKey(kProgramKey, false);
        } catch (const ERegistryError&) {
            read = false;
        }
        SetLanguage(StoredLanguage(r));
        // No window is placed, so the sizes the monitor decides are moot.
        ReadOptions(r, options, TSize{});
        r.CloseKey();
    } catch (const ERegistryError&) {
        read = false;
    }
    return read;
}

void SaveSettings(ISettingsHost& host) {
    TRegistryDefault r(RegistryHive());
    try {
        if (!r.OpenKey(kProgramKey, true)) {
            return;
        }
    } catch (const ERegistryError&) {
        return;
    }
    try {
        WriteOptions(r, Options);
        WriteWindowPlacement(r, host);
        r.WriteString(reg::NotInstalledPath, host.NotInstalledPath());
        r.CloseKey();
    } catch (const ERegistryError&) {
        Prompts().MessageBox(LoadStr(kWriteErrorText), LoadStr(kWriteErrorCaption), TMsgIcon::Error,
                             TMsgButtons::Ok);
    }
}

} // namespace lw
