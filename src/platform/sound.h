#pragma once
// The desktop's notification sound, played after the version box is closed.

struct ca_context;

namespace orvine {

class NotificationSound {
public:
    virtual ~NotificationSound() = default;
    // Starts the sound and returns at once; a missing device or theme is ignored.
    virtual void play() = 0;
};

// The freedesktop sound theme's "message" event through libcanberra.
class CanberraSound : public NotificationSound {
public:
    CanberraSound() = default;
    ~CanberraSound() override;
    CanberraSound(const CanberraSound&) = delete;
    CanberraSound& operator=(const CanberraSound&) = delete;

    void play() override;

private:
    ca_context* context_ = nullptr;
};

} // namespace orvine
