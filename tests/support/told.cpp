#include "told.h"

#include "test_env.h"

namespace lw::test {

::testing::AssertionResult ToldOnce(const std::string& text,
                                    const std::optional<std::string>& caption,
                                    std::optional<TMsgIcon> icon,
                                    std::optional<TMsgButtons> buttons) {
    const std::vector<TScriptedPrompts::TMessage>& shown = TestPrompts().Messages;
    if (shown.size() == 1 && shown[0].Text == text && (!caption || shown[0].Caption == *caption) &&
        (!icon || shown[0].Icon == *icon) && (!buttons || shown[0].Buttons == *buttons)) {
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "expected one message \"" << text << "\"; shown " << shown.size() << ":";
    for (const TScriptedPrompts::TMessage& message : shown) {
        failure << "\n  \"" << message.Text << "\" captioned \"" << message.Caption << "\" icon "
                << static_cast<int>(message.Icon) << " buttons "
                << static_cast<int>(message.Buttons);
    }
    return failure;
}

} // namespace lw::test
