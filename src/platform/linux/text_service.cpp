#include "platform/linux/linux_platform.h"

#include <QCollator>
#include <QLocale>
#include <QString>

namespace lw {

namespace {

class TQtTextService : public ITextService {
public:
    TQtTextService() { Collator.setCaseSensitivity(Qt::CaseInsensitive); }

    int CompareIgnoreCase(const std::string& a, const std::string& b) const override {
        return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive);
    }

    int Collate(const std::string& a, const std::string& b) const override {
        return Collator.compare(QString::fromUtf8(a), QString::fromUtf8(b));
    }

    std::string Upper(const std::string& text) const override {
        return Locale.toUpper(QString::fromUtf8(text)).toStdString();
    }

private:
    QLocale Locale;
    QCollator Collator{QLocale()};
};

} // namespace

std::unique_ptr<ITextService> MakeLinuxTextService() { return std::make_unique<TQtTextService>(); }

} // namespace lw
