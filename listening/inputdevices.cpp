#include "listening/inputdevices.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

#include <chrono>

namespace listening {

std::vector<InputDevice> InputDevices() {
    std::vector<InputDevice> inputs;
    for (const QAudioDevice& device : QMediaDevices::audioInputs())
        inputs.push_back({device.id().toStdString(), device.description()});
    return inputs;
}

namespace {

struct ServerQuery {
    std::string defaultSource;
    bool done = false;
};

void OnServerInfo(pa_context*, const pa_server_info* info, void* data) {
    auto* query = static_cast<ServerQuery*>(data);
    if (info != nullptr && info->default_source_name != nullptr) query->defaultSource = info->default_source_name;
    query->done = true;
}

} // namespace

std::string ServerDefaultSource(int timeoutMs) {
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) return {};
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Zupfari Basis");
    ServerQuery query;
    if (context != nullptr && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        pa_operation* operation = nullptr;
        while (!query.done && std::chrono::steady_clock::now() < deadline) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (!PA_CONTEXT_IS_GOOD(state)) break;
            if (state == PA_CONTEXT_READY && operation == nullptr)
                operation = pa_context_get_server_info(context, OnServerInfo, &query);
            // Wait for the server at most 50 ms at a time, so the deadline holds.
            if (pa_mainloop_prepare(loop, 50000) < 0 || pa_mainloop_poll(loop) < 0 ||
                pa_mainloop_dispatch(loop) < 0)
                break;
        }
        if (operation != nullptr) {
            pa_operation_cancel(operation);
            pa_operation_unref(operation);
        }
        pa_context_disconnect(context);
    }
    if (context != nullptr) pa_context_unref(context);
    pa_mainloop_free(loop);
    return query.defaultSource;
}

std::string ChooseInput(const std::vector<InputDevice>& inputs, const std::string& wanted,
                        const std::string& serverDefault) {
    auto listed = [&inputs](const std::string& id) {
        for (const InputDevice& input : inputs)
            if (input.id == id) return true;
        return false;
    };
    if (!wanted.empty() && listed(wanted)) return wanted;
    if (!serverDefault.empty() && listed(serverDefault)) return serverDefault;
    return inputs.empty() ? std::string() : inputs.front().id;
}

} // namespace listening
