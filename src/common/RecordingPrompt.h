#pragma once

// A prompt that records every text in order and answers questions from a script.
// Used by tests and by callers that collect messages (the command-line tool's JSON output).

#include <deque>
#include <string>
#include <vector>

#include "common/Prompt.h"

namespace korvana {

class RecordingPrompt : public IPrompt {
public:
    using IPrompt::Message;

    void Message(std::string_view text, std::string_view caption, PromptIcon icon) override;
    PromptAnswer Ask(std::string_view text, PromptButtons buttons) override;

    // Answers for the next questions, in order; once used up, questions get m_fallback.
    void Script(std::initializer_list<PromptAnswer> answers);

    std::vector<std::string> m_texts;     // every message and question text, in order raised
    std::vector<std::string> m_captions;  // the caption of each text (empty for most)
    std::vector<bool> m_questions;        // whether each text was a question
    std::deque<PromptAnswer> m_answers;
    PromptAnswer m_fallback = PromptAnswer::No;
};

}  // namespace korvana
