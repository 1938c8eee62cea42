#include "fonts/font_change.h"

#include <map>
#include <vector>

namespace lw {

namespace {
struct TListeners {
    int NextId = 1;
    std::map<int, std::function<void()>> ById;
};

TListeners& Listeners() {
    static TListeners listeners;
    return listeners;
}
} // namespace

TFontChangeSubscription::TFontChangeSubscription(std::function<void()> listener) {
    TListeners& all = Listeners();
    Id = all.NextId++;
    all.ById.emplace(Id, std::move(listener));
}

TFontChangeSubscription::~TFontChangeSubscription() {
    if (Id != 0) {
        Listeners().ById.erase(Id);
    }
}

TFontChangeSubscription::TFontChangeSubscription(TFontChangeSubscription&& other) noexcept
    : Id(other.Id) {
    other.Id = 0;
}

TFontChangeSubscription&
TFontChangeSubscription::operator=(TFontChangeSubscription&& other) noexcept {
    if (this != &other) {
        if (Id != 0) {
            Listeners().ById.erase(Id);
        }
        Id = other.Id;
        other.Id = 0;
    }
    return *this;
}

void NotifyFontChange() {
    // A listener may unsubscribe others while it runs: call by id.
    std::vector<int> ids;
    for (const auto& [id, listener] : Listeners().ById) {
        ids.push_back(id);
    }
    for (int id : ids) {
        auto it = Listeners().ById.find(id);
        if (it != Listeners().ById.end()) {
            auto listener = it->second;
            listener();
        }
    }
}

} // namespace lw
