#pragma once

#include "scripted_prompts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lw::test {

// Whether the one message shown so far has this text and, where given, this
// caption, icon and buttons. Used as EXPECT_TRUE(ToldOnce(...)): a failure
// prints every message shown, so a wrong one needs no second run to see.
::testing::AssertionResult ToldOnce(const std::string& text,
                                    const std::optional<std::string>& caption = std::nullopt,
                                    std::optional<TMsgIcon> icon = std::nullopt,
                                    std::optional<TMsgButtons> buttons = std::nullopt);

} // namespace lw::test
