#pragma once
// The sound inputs (microphones) the desktop's sound server offers, and
// which of them to use.
//
// Qt lists the inputs, but Qt 6.4 marks the wrong one as its default: it
// compares the inputs with the server's default *output* (mended in Qt
// 6.5.2). So the server itself is asked for its default source, and inputs
// are always chosen by id. Call these on the user-interface thread.

#include <QString>

#include <string>
#include <vector>

namespace listening {

struct InputDevice {
    std::string id;      // the server's name for the source
    QString description; // what the learner reads
};

// The inputs Qt lists now (monitors of outputs are not among them).
std::vector<InputDevice> InputDevices();

// The name of the sound server's default source, asked through libpulse
// (which also reaches PipeWire's PulseAudio service); empty when no server
// answers within `timeoutMs`. Never starts a server.
std::string ServerDefaultSource(int timeoutMs = 1500);

// The input to use: `wanted` when it is listed, else the server's default
// when listed, else the first input; empty when there is none.
std::string ChooseInput(const std::vector<InputDevice>& inputs, const std::string& wanted,
                        const std::string& serverDefault);

} // namespace listening
