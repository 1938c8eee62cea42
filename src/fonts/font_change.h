#pragma once

#include <functional>

namespace lw {

// Tells the program's own windows that the installed fonts changed. A
// subscription lasts as long as the object that subscribed keeps it.
class TFontChangeSubscription {
public:
    TFontChangeSubscription() = default;
    explicit TFontChangeSubscription(std::function<void()> listener);
    ~TFontChangeSubscription();
    TFontChangeSubscription(TFontChangeSubscription&& other) noexcept;
    TFontChangeSubscription& operator=(TFontChangeSubscription&& other) noexcept;
    TFontChangeSubscription(const TFontChangeSubscription&) = delete;
    TFontChangeSubscription& operator=(const TFontChangeSubscription&) = delete;

private:
    int Id = 0;
};

// Calls every listener, in the order they subscribed.
void NotifyFontChange();

} // namespace lw
