#include "sheets/view_all.h"

#include "base/strings.h"
#include "categories/auto_gatherer.h"
#include "categories/organize_dialog.h"
#include "platform/services.h"
#include "sheets/sheet_status_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace lw {

namespace {
constexpr int kGatheringFacts = 30551;
constexpr int kNotCollections = 30555;
constexpr int kNotInstalledSkipped = 30556;
constexpr int kWarningCaption = 21;
constexpr const char* kCollectionsFilter = "Collections (Collections.json)|*.json";
constexpr size_t kMaxCollectionsFile = size_t(64) << 20;
} // namespace

void TfViewAll::StartAutomaticCategories() {
    if (Organize == nullptr) {
        return;
    }
    if (Gatherer == nullptr) {
        Gatherer = new TAutoCategoryGatherer(Organize->Store(), this);
        connect(Gatherer, &TAutoCategoryGatherer::Progress, this,
                &TfViewAll::ListAutomaticCategories);
        connect(Gatherer, &TAutoCategoryGatherer::Ready, this, &TfViewAll::ListAutomaticCategories);
    }
    Gatherer->Start();
    ListAutomaticCategories();
}

void TfViewAll::AutomaticCategoriesStale() {
    if (Gatherer != nullptr) {
        Gatherer->Restart();
        ListAutomaticCategories();
    }
}

void TfViewAll::ListAutomaticCategories() {
    const bool viewItemGoes = std::find(AutomaticItems.begin(), AutomaticItems.end(),
                                        CurrentViewItem) != AutomaticItems.end();
    const QString shown = viewItemGoes ? CurrentViewItem->data().toString() : QString();
    for (QAction* item : AutomaticItems) {
        ViewGroup->removeAction(item);
        mnCategories->removeAction(item);
        item->deleteLater();
    }
    AutomaticItems.clear();
    if (Organize == nullptr || Gatherer == nullptr) {
        return;
    }
    AutomaticItems.push_back(mnCategories->addSeparator());
    if (Gatherer->Running()) {
        QAction* progress = mnCategories->addAction(QString::fromStdString(
            FmtLoadStr(kGatheringFacts, static_cast<long long>(Gatherer->FacesDone()),
                       static_cast<long long>(Gatherer->FacesTotal()))));
        progress->setObjectName(QStringLiteral("mnGatheringFacts"));
        progress->setEnabled(false);
        AutomaticItems.push_back(progress);
        return;
    }
    const std::shared_ptr<const TAutoCategories> groups = Organize->Store().Automatic;
    if (!groups) {
        return;
    }
    for (const std::string& id : groups->Ids()) {
        const QString name = QString::fromStdString(AutoCategoryName(id));
        QAction* item =
            mnCategories->addAction(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setObjectName(QStringLiteral("mnAuto_") + QString::fromStdString(id));
        item->setCheckable(true);
        item->setData(QString::fromStdString(id));
        ViewGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { ShowAutomaticView(item); });
        AutomaticItems.push_back(item);
        if (viewItemGoes && item->data().toString() == shown) {
            item->setChecked(true);
            CurrentViewItem = item;
        }
    }
}

void TfViewAll::ShowAutomaticView(QAction* item) {
    const std::shared_ptr<const TAutoCategories> groups = Organize->Store().Automatic;
    const std::vector<std::string>* members =
        groups ? groups->Members(item->data().toString().toStdString()) : nullptr;
    ShowFamilies(members ? *members : std::vector<std::string>());
    // Read-only: nothing may be added to it or taken out of it.
    CategoryName.clear();
    Organize->ShowNewCategoryEntry();
    Status->SetPanelText(2, item->text().replace(QStringLiteral("&&"), QStringLiteral("&")));
    item->setChecked(true);
    CurrentViewItem = item;
}

void TfViewAll::mnImportCollectionsClick() {
    const auto files = Prompts().OpenFiles("", kCollectionsFilter, "", false);
    if (!files || files->empty()) {
        return;
    }
    const std::string& file = files->front();
    const std::optional<std::string> text = FileShell().ReadSmallFile(file, kMaxCollectionsFile);
    const auto collections = text ? ParseCollectionsJson(*text) : std::nullopt;
    if (!collections) {
        Prompts().MessageBox(FmtLoadStr(kNotCollections, file), LoadStr(kWarningCaption),
                             TMsgIcon::Warning, TMsgButtons::Ok);
        return;
    }
    const std::vector<std::string> skipped = Organize->Store().ImportCollections(*collections);
    Organize->Store().SaveCategoryList();
    if (!skipped.empty()) {
        std::string lines;
        for (const std::string& line : skipped) {
            const size_t tab = line.find('\t');
            lines += '\n';
            lines += line.substr(tab + 1);
            lines += " (";
            lines += line.substr(0, tab);
            lines += ')';
        }
        Prompts().MessageBox(LoadStr(kNotInstalledSkipped) + lines, LoadStr(kWarningCaption),
                             TMsgIcon::Information, TMsgButtons::Ok);
    }
}

} // namespace lw
