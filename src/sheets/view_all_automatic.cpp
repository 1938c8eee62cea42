#include "sheets/view_all.h"

#include "base/strings.h"
#include "categories/auto_gatherer.h"
#include "categories/organize_dialog.h"
#include "sheets/sheet_status_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace lw {

namespace {
constexpr int kGatheringFacts = 30551;
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

} // namespace lw
