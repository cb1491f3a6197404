// SL's sound device on an SDL2 audio device fed through its queue.
//
// SL mixes a buffer at a time and hands it to the device while the device reports little audio
// queued and room for another buffer, so the queue here is bounded (about one second) and the
// mixer's buffer is a small slice of that. The device id lives in `fd` and the bounded queue's
// bookkeeping in `buff_info`, so the object keeps the layout SL's own library was built with.
#include <SDL.h>
#include <plib/sl.h>

#include <cstdio>

namespace {

constexpr int kNoDevice = -1;

// Mixer slices of about 1/32 s: short enough for prompt effects, long enough to cost little.
constexpr int kSlicesPerSecond = 32;
constexpr int kMinimumSliceFrames = 64;

// The longest a write waits for room when the device has stopped taking audio, in ms.
constexpr Uint32 kStalledDeviceWaitMs = 2000;

int bytesPerFrame(int stereo, int bps) {
    return (stereo ? 2 : 1) * (bps / 8);
}

int sliceFrames(int rate) {
    int frames = kMinimumSliceFrames;
    while (frames * 2 <= rate / kSlicesPerSecond)
        frames *= 2;
    return frames;
}

SDL_AudioDeviceID deviceOf(int fd) {
    return fd == kNoDevice ? 0 : static_cast<SDL_AudioDeviceID>(fd);
}

} // namespace

void slDSP::open(const char* /*device: SDL picks its own*/, int _rate, int _stereo, int _bps) {
    rate = _rate;
    stereo = _stereo ? SL_TRUE : SL_FALSE;
    bps = _bps;
    error = SL_FALSE;
    fd = kNoDevice;
    buff_info = audio_buf_info{};

    if (rate <= 0 || (bps != 8 && bps != 16)) {
        std::fprintf(stderr, "slDSP: open: unsupported format (%d Hz, %d bits).\n", rate, bps);
        error = SL_TRUE;
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "slDSP: open: no audio: %s\n", SDL_GetError());
        error = SL_TRUE;
        return;
    }

    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = bps == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    wanted.channels = stereo ? 2 : 1;
    wanted.samples = static_cast<Uint16>(sliceFrames(rate));
    wanted.callback = nullptr; // fed through SDL_QueueAudio
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to the hardware itself, so the queue takes our format.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        std::fprintf(stderr, "slDSP: open: cannot open the audio device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        error = SL_TRUE;
        return;
    }
    fd = static_cast<int>(device);

    const int frameBytes = bytesPerFrame(stereo, bps);
    buff_info.fragsize = sliceFrames(rate) * frameBytes;
    buff_info.fragstotal = (rate * frameBytes + buff_info.fragsize - 1) / buff_info.fragsize;
    getBufferInfo();
    SDL_PauseAudioDevice(device, 0);
}

void slDSP::close() {
    if (fd == kNoDevice)
        return;
    SDL_CloseAudioDevice(deviceOf(fd));
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    fd = kNoDevice;
}

// The OSS notion of the output buffer, over the bounded queue: `bytes` is the room left,
// `fragments` how many whole mixer slices fit in it.
void slDSP::getBufferInfo() {
    if (error || fd == kNoDevice)
        return;
    const int capacity = buff_info.fragstotal * buff_info.fragsize;
    const int queued = static_cast<int>(SDL_GetQueuedAudioSize(deviceOf(fd)));
    buff_info.bytes = queued >= capacity ? 0 : capacity - queued;
    buff_info.fragments = buff_info.bytes / buff_info.fragsize;
}

void slDSP::write(void* buffer, size_t length) {
    if (error || fd == kNoDevice || buffer == nullptr || length == 0)
        return;
    const SDL_AudioDeviceID device = deviceOf(fd);
    const size_t capacity = static_cast<size_t>(buff_info.fragstotal) * buff_info.fragsize;
    // Like a sound card, a full queue makes the writer wait until the device has played enough;
    // a device that has stopped taking audio loses the slice rather than growing the queue.
    const Uint32 start = SDL_GetTicks();
    while (SDL_GetQueuedAudioSize(device) + length > capacity) {
        if (SDL_GetTicks() - start > kStalledDeviceWaitMs ||
            SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_PLAYING)
            return;
        SDL_Delay(1);
    }
    if (SDL_QueueAudio(device, buffer, static_cast<Uint32>(length)) != 0)
        std::fprintf(stderr, "slDSP: write: %s\n", SDL_GetError());
}

int slDSP::getDriverBufferSize() {
    if (error || fd == kNoDevice)
        return 0;
    return buff_info.fragsize;
}

float slDSP::secondsRemaining() {
    if (error || fd == kNoDevice)
        return 0.0f;
    getBufferInfo();
    return static_cast<float>(buff_info.bytes) /
           static_cast<float>(rate * bytesPerFrame(stereo, bps));
}

float slDSP::secondsUsed() {
    if (error || fd == kNoDevice)
        return 0.0f;
    const Uint32 queued = SDL_GetQueuedAudioSize(deviceOf(fd));
    return static_cast<float>(queued) / static_cast<float>(rate * bytesPerFrame(stereo, bps));
}

void slDSP::sync() {
    if (error || fd == kNoDevice)
        return;
    const SDL_AudioDeviceID device = deviceOf(fd);
    // Waits for the queue to play out, but never longer than the queue could last.
    const Uint32 limit = static_cast<Uint32>(secondsUsed() * 1000.0f) + kStalledDeviceWaitMs;
    const Uint32 start = SDL_GetTicks();
    while (SDL_GetQueuedAudioSize(device) > 0 && SDL_GetTicks() - start <= limit &&
           SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_PLAYING)
        SDL_Delay(1);
}

void slDSP::stop() {
    if (error || fd == kNoDevice)
        return;
    SDL_ClearQueuedAudio(deviceOf(fd));
}
