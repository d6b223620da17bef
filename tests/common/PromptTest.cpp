#include <gtest/gtest.h>

#include "common/Prompt.h"
#include "common/RecordingPrompt.h"

using korvana::PromptAnswer;
using korvana::PromptButtons;

TEST(Prompt, ScopedPromptRecordsInOrderAndRestores) {
    korvana::RecordingPrompt outer;
    korvana::ScopedPrompt outerScope(outer);
    {
        korvana::RecordingPrompt inner;
        korvana::ScopedPrompt innerScope(inner);
        inner.Script({PromptAnswer::Yes, PromptAnswer::Cancel});
        korvana::Prompt().Message("first");
        EXPECT_EQ(korvana::Prompt().Ask("second", PromptButtons::YesNo), PromptAnswer::Yes);
        EXPECT_EQ(korvana::Prompt().Ask("third", PromptButtons::YesNoCancel), PromptAnswer::Cancel);
        EXPECT_EQ(korvana::Prompt().Ask("fourth", PromptButtons::YesNo), PromptAnswer::No);
        EXPECT_EQ(inner.m_texts, (std::vector<std::string>{"first", "second", "third", "fourth"}));
        EXPECT_EQ(inner.m_questions, (std::vector<bool>{false, true, true, true}));
    }
    korvana::Prompt().Message("back");
    EXPECT_EQ(outer.m_texts, std::vector<std::string>{"back"});
}
