#include "pages/not_installed_page.h"

#include "app/localize.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lw {

TNotInstalledPage::TNotInstalledPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tsNotInstalled"));
    SetTag(this, 10135);
    lblSample1 = new QLabel(this);
    lblSample1->setObjectName(QStringLiteral("lblSample1"));
    SetTag(lblSample1, 10104);
    mmSampleNotInst = new QPlainTextEdit(this);
    mmSampleNotInst->setObjectName(QStringLiteral("mmSampleNotInst"));
    mmSampleNotInst->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSample1);
    layout->addWidget(mmSampleNotInst, 1);
}

} // namespace lw
