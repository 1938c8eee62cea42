#pragma once

#include "pages/details_model.h"

#include <QWidget>

#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSlider;
class QTabWidget;
class QTableWidget;
class QVBoxLayout;

namespace lw {

class TCharMapView;
class TWaterfallView;

// The details of one font: its names and facts, its licence, every
// character it maps, and its sample at a row of sizes. One window a font;
// several may be open, each closing on its own.
class TfDetails : public QWidget {
    Q_OBJECT
public:
    // Shows faces[selected] first; the chooser offers the others.
    TfDetails(std::vector<TDetailsFace> faces, size_t selected, const QString& title,
              QWidget* parent);

    // Reads and shows a face; false (after telling the user) when its file
    // cannot be read, and the face shown before stays.
    bool ShowFace(size_t face);
    // The search box's text: the code point found is selected; false when
    // the face lacks it (the info line says so).
    bool FindCharacter(const QString& query);
    // Captions, tab names and the shown face's report again, in the
    // language now in force; what the user chose and typed stays.
    void UpdateLanguage();
    // The waterfall's text until the user types another.
    QString SampleText;

    QComboBox* cmbStyle;
    QTabWidget* pcDetails;
    QTableWidget* tblProperties;
    QLabel* lblLicenseName;
    QLabel* lblLicenseUrl;
    QPlainTextEdit* mmLicense;
    QLabel* lblScripts;
    QLineEdit* edFindChar;
    TCharMapView* CharMap;
    QLabel* lblCharInfo;
    QLabel* lblZoom;
    QLineEdit* edSizes;
    QLineEdit* edSample;
    QWidget* pnlAxes;
    QListWidget* lstInstances;
    TWaterfallView* Waterfall;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* BuildPropertiesTab();
    QWidget* BuildLicenseTab();
    QWidget* BuildCharactersTab();
    QWidget* BuildWaterfallTab();
    void ShowProperties(const TFaceReport& report);
    void ShowLicense(const TFaceReport& report);
    void ShowCharacters(const TFaceReport& report);
    void ShowScripts(const TFaceReport& report);
    QLabel* Caption(QWidget* parent, int text, QWidget* buddy);
    void ShowVariations(const TFaceReport& report);
    void CharacterChosen(uint32_t code, bool copy);
    void AxisMoved();
    void InstanceChosen(int row);

    std::vector<TDetailsFace> Faces;
    QString Title;
    // Every fixed label with its string, to be read again on a language change.
    std::vector<std::pair<QLabel*, int>> Captions;
    size_t Shown = 0;
    std::string DrawFile;
    int DrawIndex = 0;
    std::vector<TAxis> Axes;
    std::vector<TNamedInstance> Instances;
    std::vector<QSlider*> AxisSliders;
    QVBoxLayout* AxesLayout = nullptr;
};

// Each call opens a new window, or none when the font cannot be read (the
// user is told why). The installed family's faces, its sample face first:
TfDetails* OpenFamilyDetails(const std::string& family, const std::vector<TDetailsFace>& faces,
                             const QString& sample, QWidget* parent);
// A font file, installed or not (every face of a collection, `face` first).
TfDetails* OpenFileDetails(const std::string& path, uint32_t face, const QString& sample,
                           QWidget* parent);
// Every open Details window, whoever opened it, in the language now in force.
void UpdateDetailsLanguage();

// The faces of an installed family as the system lists them, its sample
// face first; a disabled family's from the files given.
std::vector<TDetailsFace> InstalledFamilyFaces(const std::string& family,
                                               const std::vector<std::string>& disabledFiles);

} // namespace lw
