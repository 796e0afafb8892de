#include "playback/soundcues.h"

#include "platform/core/pathresolver.h"
#include "platform/ui/sound.h"

#include <cstring>
#include <initializer_list>

namespace playback {
namespace {

constexpr const char* kClickFolder = "ClickSounds\\";
constexpr const char* kClickNames[SoundCues::kClickSoundCount] = {
    "Amaj7.wav", "Dmaj7.wav", "Eadd9.wav", "Fism9.wav", "Fmaj7.wav", "Hm9.wav"};

constexpr unsigned kClickBase = platform::SND_FILENAME | platform::SND_NODEFAULT;
constexpr unsigned kNamedCueBase =
    platform::SND_FILENAME | platform::SND_NOSTOP | platform::SND_NODEFAULT;

// The base flags with SND_ASYNC for async, and SND_LOOP together with
// SND_ASYNC for loop.
constexpr unsigned FlagsFor(unsigned baseFlags, bool async, bool loop) {
    unsigned flags = baseFlags;
    if (async) flags |= platform::SND_ASYNC;
    if (loop) flags |= platform::SND_LOOP | platform::SND_ASYNC;
    return flags;
}

// What every caller asks for (async, no loop).
static_assert(FlagsFor(kClickBase, true, false) == 0x20003);
static_assert(FlagsFor(kNamedCueBase, true, false) == 0x20013);

// Copies the parts one after the other into `buffer`; all or nothing. An
// empty part may have no data at all, so it is never handed to memcpy.
bool JoinInto(char (&buffer)[SoundCues::kPathBufferSize], std::string_view a, std::string_view b,
              std::string_view c = {}) {
    buffer[0] = '\0';
    const std::size_t length = a.size() + b.size() + c.size();
    if (length >= SoundCues::kPathBufferSize) return false;
    std::size_t end = 0;
    for (std::string_view part : {a, b, c}) {
        if (part.empty()) continue;
        std::memcpy(buffer + end, part.data(), part.size());
        end += part.size();
    }
    buffer[length] = '\0';
    return true;
}

} // namespace

SoundCues::SoundCues(std::string_view programFolder) {
    for (int i = 0; i < kClickSoundCount; ++i) {
        JoinInto(clickPaths_[i], programFolder, kClickFolder, kClickNames[i]);
    }
}

bool SoundCues::PlayClick(bool async, bool loop) {
    return PlayExisting(clickPaths_[kClickSlot - 1], FlagsFor(kClickBase, async, loop));
}

bool SoundCues::PlayNamedCue(std::string_view path, bool async, bool loop) {
    char buffer[kPathBufferSize];
    if (!JoinInto(buffer, path, {})) return false;
    return PlayExisting(buffer, FlagsFor(kNamedCueBase, async, loop));
}

bool SoundCues::StopSound() {
    return platform::PlaySound(nullptr, 0);
}

bool SoundCues::PurgeSound() {
    return platform::PlaySound(nullptr, platform::SND_PURGE);
}

bool SoundCues::BuildCuePath(char (&buffer)[kPathBufferSize], std::string_view programFolder,
                             std::string_view relativeName) {
    return JoinInto(buffer, programFolder, relativeName);
}

const char* SoundCues::ClickPath(int slot) const {
    if (slot < 1 || slot > kClickSoundCount) return "";
    return clickPaths_[slot - 1];
}

// The existence test comes first: a missing cue is silent and leaves any
// sound that plays alone.
bool SoundCues::PlayExisting(const char* path, unsigned flags) {
    if (path[0] == '\0' || !platform::AnsiPathExists(path)) return false;
    return platform::PlaySound(path, flags);
}

} // namespace playback
