#pragma once

#include "app/settings.h"

#include <QMainWindow>

class QLabel;

namespace lw {

// The main window's frame: geometry and settings, status bar, language.
class TfMain_letterwell : public QMainWindow, public ISettingsHost {
    Q_OBJECT
public:
    explicit TfMain_letterwell(QWidget* parent = nullptr);
    ~TfMain_letterwell() override;

    // ISettingsHost
    TSize MonitorSize() const override;
    TBounds WindowBounds() const override;
    void SetWindowSize(int width, int height) override;
    void SetWindowPosition(int left, int top) override;
    bool IsMaximized() const override;
    void SetMaximized() override;
    void RestoreNormal() override;
    std::string NotInstalledPath() const override;
    void SetNotInstalledPath(const std::string& path) override;
    void RebuildFolderTree() override;
    void ApplySettings() override;

protected:
    bool event(QEvent* e) override;

private:
    void FormCreate();
    void FormDestroy();

    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    std::string NotInstalledFolder;
    bool Destroyed = false;
};

inline constexpr int kMinimumWidth = 925;
inline constexpr int kMinimumHeight = 800;
inline constexpr const char* kApplicationTitle = "Kestrova Letterwell";

} // namespace lw
