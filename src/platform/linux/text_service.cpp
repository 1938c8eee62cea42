#include "platform/linux/linux_platform.h"

#include <QCollator>

#include <QLocale>
#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

namespace lw {

namespace {

class TQtTextService : public ITextService {
public:
    TQtTextService() {
        Collator.setCaseSensitivity(Qt::CaseInsensitive);
        // Only Turkish and Azerbaijani give an ASCII letter (i) another
        // capital; every other language capitalises ASCII as ASCII.
        AsciiUpper =
            Locale.language() != QLocale::Turkish && Locale.language() != QLocale::Azerbaijani;
    }

    int CompareIgnoreCase(const std::string& a, const std::string& b) const override {
        return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive);
    }

    int Collate(const std::string& a, const std::string& b) const override {
        return Collator.compare(QString::fromUtf8(a), QString::fromUtf8(b));
    }

    std::string Upper(const std::string& text) const override {
        // Names are keyed by their capitals thousands at a time, nearly all
        // of them ASCII: those need no trip through the locale.
        if (AsciiUpper && std::all_of(text.begin(), text.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x80;
            })) {
            std::string upper = text;
            for (char& c : upper) {
                if (c >= 'a' && c <= 'z') {
                    c = static_cast<char>(c - 'a' + 'A');
                }
            }
            return upper;
        }
        return Locale.toUpper(QString::fromUtf8(text)).toStdString();
    }

    void SortCollated(std::vector<std::string>& texts) const override {
        // Lists come back sorted more often than not (a category's file is
        // written in order): checking costs far less than a key a name.
        const bool inOrder =
            std::is_sorted(texts.begin(), texts.end(), [this](const auto& a, const auto& b) {
                return Collator.compare(QString::fromUtf8(a), QString::fromUtf8(b)) < 0;
            });
        if (inOrder) {
            return;
        }
        std::vector<std::pair<QCollatorSortKey, size_t>> keys;
        keys.reserve(texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            keys.emplace_back(Collator.sortKey(QString::fromUtf8(texts[i])), i);
        }
        std::stable_sort(keys.begin(), keys.end(),
                         [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        std::vector<std::string> sorted;
        sorted.reserve(texts.size());
        for (const auto& key : keys) {
            sorted.push_back(std::move(texts[key.second]));
        }
        texts = std::move(sorted);
    }

private:
    // The C and POSIX locales collate by code point, which puts every accented
    // name after "Z"; font names read best in the common Latin order there.
    static QLocale CollationLocale() {
        const QLocale system;
        if (system.language() == QLocale::C) {
            return QLocale(QLocale::English, QLocale::UnitedStates);
        }
        return system;
    }

    QLocale Locale;
    bool AsciiUpper = true;
    QCollator Collator{CollationLocale()};
};

} // namespace

std::unique_ptr<ITextService> MakeLinuxTextService() {
    return std::make_unique<TQtTextService>();
}

} // namespace lw
