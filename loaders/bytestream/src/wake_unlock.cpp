// The commands that open a download into a resident program.
#include "bytestream/wake_unlock.h"

#include "bytestream/text_steps.h"
#include "comms/utilities.h"
#include "loader/relay.h"

namespace bytestream {
namespace {

void Say(const char* text) {
    if (text != nullptr) {
        loaderMessageNoCancel("%s", text);
    }
}

}  // namespace

int WakeUnlockLoad(CComms& port, const WakeUnlockTexts& texts) {
    Say(texts.wake);
    int result = WriteCommand(port, LD_WAKE);
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Waiting 0.5 seconds...");
    SleepMsec(500);
    loaderMessageNoCancel("Sending 'U' (unlock) command...");
    result = WriteCommandLine(port, LD_UNLOCK);
    if (result != 0) {
        return result;
    }
    loaderMessageNoCancel("Waiting 0.2 seconds...");
    SleepMsec(200);
    Say(texts.load);
    result = WriteCommandLine(port, LD_LOAD);
    if (result != 0) {
        return result;
    }
    Say(texts.settle);
    SleepMsec(500);
    return 0;
}

}  // namespace bytestream
