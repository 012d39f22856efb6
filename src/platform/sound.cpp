#include "platform/sound.h"

#include <alsa/asoundlib.h>
#include <canberra.h>

namespace orvine {

namespace {

// ALSA reports every failure on stderr, eight lines when there is no sound card at all. The
// sound is a courtesy: without a device it is skipped without a word.
void ignore_alsa_error(const char*, int, const char*, int, const char*, ...) {}

} // namespace

CanberraSound::~CanberraSound()
{
    if (context_)
        ca_context_destroy(context_);
}

void CanberraSound::play()
{
    // Opened on first use so that a run that never plays a sound never touches the sound
    // server; a failure leaves the context empty and the next call tries again.
    if (!context_) {
        snd_lib_error_set_handler(ignore_alsa_error);
        if (ca_context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return;
        }
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Orvine", nullptr);
    }
    // ca_context_play queues the sound and returns: the window stays responsive.
    ca_context_play(context_, 0, CA_PROP_EVENT_ID, "message", CA_PROP_EVENT_DESCRIPTION, "Orvine",
                    nullptr);
}

} // namespace orvine
