#pragma once

// "Verify after sending": whether a send from the window reads the slot back to prove the song
// arrived intact. Remembered in the user's settings; off until chosen, as it doubles the time a
// send takes on a slow MIDI cable.

namespace korvana {

bool VerifyAfterSending();
void SetVerifyAfterSending(bool verify);

}  // namespace korvana
