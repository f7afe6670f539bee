// Processing: the block's events first, in their order, then the whole block's audio, so that
// notes and values take effect at the block's start as they do when a VST 2 host delivers its
// events before the audio callback; both modules then give the same samples for the same input.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "clap/ClapAdapter.h"

void ClapAdapter::ReadTransport(const clap_event_transport* transport) {
    samplePosition_ = 0;
    tempo_ = 0.0;
    tsigNumerator_ = tsigDenominator_ = 0;
    if (!transport) return;
    if (transport->flags & CLAP_TRANSPORT_HAS_TEMPO) tempo_ = std::max(0.0, transport->tempo);
    if (transport->flags & CLAP_TRANSPORT_HAS_TIME_SIGNATURE) {
        tsigNumerator_ = transport->tsig_num;
        tsigDenominator_ = transport->tsig_denom;
    }
    // The sample position from the seconds timeline at the session's rate.
    if ((transport->flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE) && transport->song_pos_seconds >= 0) {
        double seconds = static_cast<double>(transport->song_pos_seconds) / CLAP_SECTIME_FACTOR;
        samplePosition_ = static_cast<int64_t>(seconds * core_->SampleRate() + 0.5);
    }
}

void ClapAdapter::HandleEvent(const clap_event_header& event, bool paramsOnly) {
    // Other spaces are other vocabularies: never read them as ours.
    if (event.space_id != CLAP_CORE_EVENT_SPACE_ID) return;
    if (event.type == CLAP_EVENT_PARAM_VALUE && event.size >= sizeof(clap_event_param_value)) {
        const auto& param = reinterpret_cast<const clap_event_param_value&>(event);
        if (param.param_id < static_cast<clap_id>(core_->ParameterCount()) && std::isfinite(param.value))
            core_->ApplyParameterFromHost(static_cast<int>(param.param_id), param.value, false);
        return;
    }
    if (paramsOnly) return;
    IMidiEvent message;
    message.offset = static_cast<int32_t>(event.time);
    if (event.type == CLAP_EVENT_MIDI && event.size >= sizeof(clap_event_midi)) {
        const auto& midi = reinterpret_cast<const clap_event_midi&>(event);
        message.status = midi.data[0];
        message.data1 = midi.data[1];
        message.data2 = midi.data[2];
        core_->OnMidiEvent(message);
    } else if ((event.type == CLAP_EVENT_NOTE_ON || event.type == CLAP_EVENT_NOTE_OFF) &&
               event.size >= sizeof(clap_event_note)) {
        // Notes in the CLAP dialect (some hosts send them to MIDI-only ports) as the MIDI note
        // they stand for; wildcards (-1) name no note and are ignored.
        const auto& note = reinterpret_cast<const clap_event_note&>(event);
        if (note.key < 0 || note.key > 127 || note.channel < 0 || note.channel > 15) return;
        double velocity = std::clamp(std::isfinite(note.velocity) ? note.velocity : 0.0, 0.0, 1.0);
        message.status =
            static_cast<uint8_t>((event.type == CLAP_EVENT_NOTE_ON ? 0x90 : 0x80) | note.channel);
        message.data1 = static_cast<uint8_t>(note.key);
        message.data2 = static_cast<uint8_t>(std::lround(velocity * 127.0));
        // A note-on of velocity 0 is a real note-on here; MIDI would read it as a note-off.
        if (event.type == CLAP_EVENT_NOTE_ON && message.data2 == 0) message.data2 = 1;
        core_->OnMidiEvent(message);
    } else if (event.type == CLAP_EVENT_MIDI_SYSEX && event.size >= sizeof(clap_event_midi_sysex)) {
        const auto& sysex = reinterpret_cast<const clap_event_midi_sysex&>(event);
        ISysExMessage dump;
        dump.offset = message.offset;
        if (sysex.buffer && sysex.size > 0 && sysex.size <= INT32_MAX) {
            dump.size = static_cast<int32_t>(sysex.size);
            dump.data = sysex.buffer;
        }
        core_->OnSysEx(dump);
    }
}

void ClapAdapter::HandleEvents(const clap_input_events* in, bool paramsOnly) {
    if (!in || !in->size || !in->get) return;
    const uint32_t count = in->size(in);
    for (uint32_t i = 0; i < count; ++i) {
        const clap_event_header* event = in->get(in, i);
        if (event && event->size >= sizeof(clap_event_header)) HandleEvent(*event, paramsOnly);
    }
}

bool ClapAdapter::RunAudio(const clap_process& process) {
    const uint32_t frames = process.frames_count;
    if (process.audio_inputs_count < 1 || process.audio_outputs_count < 1 || !process.audio_inputs ||
        !process.audio_outputs)
        return false;
    const clap_audio_buffer& in = process.audio_inputs[0];
    clap_audio_buffer& out = process.audio_outputs[0];
    const auto channels = static_cast<uint32_t>(channels_);
    if (in.channel_count != channels || out.channel_count != channels) return false;
    out.constant_mask = 0;
    if (frames == 0) return true;
    if (in.data64 && out.data64) {
        core_->AttachInputs64(in.data64);
        core_->AttachOutputs64(out.data64);
        core_->Run64(static_cast<int>(frames));
    } else if (in.data32 && out.data32) {
        core_->AttachInputs(in.data32, static_cast<int>(frames));
        core_->AttachOutputs(out.data32);
        core_->RunReplacing(static_cast<int>(frames));
    } else {
        return false;
    }
    return true;
}

int32_t ClapAdapter::Process(const clap_process& process) {
    if (process.frames_count > INT32_MAX) return CLAP_PROCESS_ERROR;
    std::lock_guard<std::recursive_mutex> guard(core_->Lock());
    ClapEventWriter writer(process.out_events, process.frames_count);
    writer_ = &writer;
    reports_.Drain(writer);  // the editor's reports since the last call, at the block's start
    ReadTransport(process.transport);
    HandleEvents(process.in_events, false);
    reports_.Drain(writer);  // the effect's own, made while it handled the events
    bool ok = RunAudio(process);
    writer_ = nullptr;
    return ok ? CLAP_PROCESS_CONTINUE : CLAP_PROCESS_ERROR;
}

void ClapAdapter::Flush(const clap_input_events* in, const clap_output_events* out) {
    EventCallScope scope;
    std::lock_guard<std::recursive_mutex> guard(core_->Lock());
    ClapEventWriter writer(out, 0);
    writer_ = &writer;
    reports_.Drain(writer);
    HandleEvents(in, true);
    reports_.Drain(writer);
    writer_ = nullptr;
}
