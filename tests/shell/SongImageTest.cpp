// Song images in the window: Upload puts a slot into the repository as a .mix row of its own
// kind, and Download sends such a file back as it is, or nothing when it is damaged.

#include "KeyboardWindowFixture.h"
#include "SongImage.h"
#include "shell/CCJShell.h"

namespace korvana::test {
namespace {

using Texts = std::vector<std::string>;

class SongImages : public KeyboardWindow {
protected:
    void SetUp() override {
        KeyboardWindow::SetUp();
        ConnectToKeyboard(KeyboardOf(3), {{2, SongImage(700, 2)}});
        m_name = QString::fromStdString(SlotName(2));
    }
    QString m_name;
};

TEST_F(SongImages, AnUploadedSlotIsListedAndSentBackByteForByte) {
    SelectSlots({2});
    Transfer().OnFetch();
    const QString file = m_name + QStringLiteral(".mix");
    RepListCtrl& list = *Repository().List();
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 0), file);
    EXPECT_EQ(list.GetItemText(0, 1), m_name);
    EXPECT_EQ(list.GetItemText(0, 3), "Keyboard song image");
    EXPECT_NE(list.topLevelItem(0)->icon(0).cacheKey(), CCJShell::MidiFileIcon().cacheKey());

    SelectSongs({file});
    SelectSlots({0});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Download successfully!"}));
    ASSERT_NE(m_keyboard->Store().Get(0), nullptr);
    EXPECT_EQ(*m_keyboard->Store().Get(0), *m_keyboard->Store().Get(2));
}

TEST_F(SongImages, ADamagedImageIsRefusedWithItsReasonAndNothingIsSent) {
    std::vector<std::uint8_t> image = SongImage(300, 4);
    image[83] = 0x00;
    ASSERT_TRUE(WriteBytes(m_repository + "Bossa \"1\".MIX",
                           QByteArray(reinterpret_cast<const char*>(image.data()),
                                      static_cast<qsizetype>(image.size()))));
    Repository().RefreshRepository();
    SelectSongs({"Bossa \"1\".MIX"});
    SelectSlots({0});
    Transfer().OnSend();
    EXPECT_EQ(m_prompt.m_texts, Texts({"Bossa \"1\".MIX  Download error! It is not a keyboard "
                                       "song image: its pattern data does not start with FF FF."}));
    EXPECT_EQ(m_keyboard->Store().Get(0), nullptr);
}

}  // namespace
}  // namespace korvana::test
