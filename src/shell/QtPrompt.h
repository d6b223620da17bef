#pragma once

// Message boxes of the window: every text and question of the program as a modal dialog over
// the active window, captioned with the application title unless a caption is given.

#include "common/Prompt.h"

namespace korvana {

class QtPrompt : public IPrompt {
public:
    using IPrompt::Message;

    void Message(std::string_view text, std::string_view caption, PromptIcon icon) override;
    PromptAnswer Ask(std::string_view text, PromptButtons buttons) override;
};

}  // namespace korvana
