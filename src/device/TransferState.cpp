#include "device/TransferState.h"

namespace korvana {

bool IsWaitingState(int state) {
    switch (state) {
        case kStateConnectWait:
        case kStateDirectoryWait:
        case kStateHeaderWait:
        case kStateDataWait:
        case kStateReadWait:
        case kStateBlockWait:
        case kStateDeleteWait:
            return true;
        default:
            return false;
    }
}

}  // namespace korvana
