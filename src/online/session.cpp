#include "online/session.h"

#include "online/input_delay.h"

#include <algorithm>

namespace online {

namespace {

// A session refuses the partner's inputs further ahead than this.
constexpr std::int32_t kMaxInputsAhead = 64;
// How many packets carry a new checksum: enough to outlast a burst of losses.
constexpr std::int32_t kChecksumRepeats = 8;
// Checksums kept while waiting for the partner's of the same frame.
constexpr std::size_t kChecksumsKept = 8;
constexpr std::uint16_t kNoEcho = 0xFFFF;
// An End is sent this many times: the run is over, there is no next packet
// to repeat it in.
constexpr int kEndRepeats = 3;

} // namespace

Session::Session(const game::World& world, SessionOptions options, Clock& clock,
                 Transport& transport)
    : options_(std::move(options)), clock_(clock), transport_(transport), sync_(options_.FrameMs),
      world_(world) {
    inputDelay_ = std::clamp(options_.InputDelay, 0, kMaxInputDelay);
    options_.ChecksumFrames = std::max(options_.ChecksumFrames, 1);
    local_.assign(static_cast<std::size_t>(inputDelay_), PlayerInput{});
    lastPacketUs_ = clock_.NowUs();
    lastStepUs_ = lastPacketUs_;
}

Session::Tick Session::Advance(const PlayerInput& local, game::FrameSink& sink) {
    if (end_) {
        return Tick::Ended;
    }
    Receive();
    if (end_) {
        return Tick::Ended;
    }
    RollBack();
    Confirm();
    if (end_) {
        return Tick::Ended;
    }
    const std::int64_t now = clock_.NowUs();
    if (Closing() && (ClosedCleanly() || now - closeStartedUs_ > kCloseUs)) {
        Finish({EndReason::Quit, !quitHere_});
        return Tick::Ended;
    }
    if (now - lastPacketUs_ > kTimeoutUs || now - lastStepUs_ > kTimeoutUs) {
        Finish({EndReason::Timeout, true});
        return Tick::Ended;
    }
    ChooseInputDelay();
    Tick tick = Tick::Waited;
    if (CanStep()) {
        local_.push_back(local);
        StepFrame(nextFrame_, sink);
        ++nextFrame_;
        ++stats_.FramesStepped;
        lastStepUs_ = now;
        Confirm();
        tick = Tick::Stepped;
    } else if (!Closing() || nextFrame_ < closeAt_) {
        ++stats_.WaitTicks;
    }
    if (end_) {
        return Tick::Ended;
    }
    Send();
    return tick;
}

void Session::Quit() {
    if (end_ || quitHere_) {
        return;
    }
    quitHere_ = true;
    StartClosing(nextFrame_);
}

void Session::DrawAgain(game::FrameSink& pictures) const {
    if (nextFrame_ == 0) {
        return;
    }
    const std::int32_t frame = nextFrame_ - 1;
    game::World again = saved_[frame % kSaved];
    again.Step(FrameInputAt(frame, used_[frame % kSaved], true), pictures);
}

std::int32_t Session::ExtraFrameMs() {
    return sync_.ExtraFrameMs(nextFrame_, clock_.NowUs());
}

bool Session::PartnerQuiet() const {
    return clock_.NowUs() - lastPacketUs_ > kQuietUs;
}

void Session::Receive() {
    while (auto datagram = transport_.Receive()) {
        const auto packet = DecodePacket(*datagram);
        if (const auto* input = packet ? std::get_if<InputPacket>(&*packet) : nullptr;
            input && input->SessionNonce == options_.SessionNonce) {
            ++stats_.PacketsReceived;
            Take(*input);
        } else if (const auto* end = packet ? std::get_if<End>(&*packet) : nullptr;
                   end && end->SessionNonce == options_.SessionNonce) {
            ++stats_.PacketsReceived;
            TakeEnd(*end);
        } else {
            ++stats_.PacketsDropped;
        }
        if (end_) {
            return;
        }
    }
}

void Session::Take(const InputPacket& packet) {
    const std::int64_t now = clock_.NowUs();
    lastPacketUs_ = now;
    sync_.OnPartnerPacket(packet.Frame, packet.AdvantageMs, now);
    if (packet.EchoHoldMs != kNoEcho) {
        sync_.OnRoundTrip(static_cast<std::int32_t>(NowMs() - packet.EchoMs - packet.EchoHoldMs));
    }
    if (echoReceivedUs_ < 0 || static_cast<std::int32_t>(packet.SentAtMs - echoMs_) > 0) {
        echoMs_ = packet.SentAtMs;
        echoReceivedUs_ = now;
    }
    // The partner cannot have what was never sent.
    const auto sent = static_cast<std::int32_t>(local_.size()) - 1;
    partnerAck_ = std::max(partnerAck_, std::min(packet.Ack, sent));

    for (std::size_t i = 0; i < packet.Inputs.size(); ++i) {
        const std::int32_t frame = packet.FirstFrame + static_cast<std::int32_t>(i);
        const auto known = static_cast<std::int32_t>(partner_.size());
        if (frame < known) {
            continue;
        }
        if (frame > known || frame >= nextFrame_ + kMaxInputsAhead) {
            break;
        }
        const PlayerInput& input = packet.Inputs[i];
        partner_.push_back(input);
        if (frame < nextFrame_ && used_[frame % kSaved] != input) {
            mismatchAt_ = mismatchAt_ < 0 ? frame : std::min(mismatchAt_, frame);
        }
    }
    if (packet.Checksum) {
        CheckChecksum(*packet.Checksum);
    }
}

void Session::TakeEnd(const End& packet) {
    switch (packet.Reason) {
    case EndReason::Quit:
        partnerCloseAt_ = std::max(partnerCloseAt_, packet.Frame);
        StartClosing(packet.Frame);
        break;
    case EndReason::Timeout:
        Finish({EndReason::Timeout, true});
        break;
    case EndReason::Desync:
        Finish({EndReason::Desync, true, packet.Frame, lastGoodFrame_});
        break;
    }
}

void Session::StartClosing(std::int32_t frame) {
    if (!Closing()) {
        closeStartedUs_ = clock_.NowUs();
        closeAt_ = nextFrame_;
    }
    closeAt_ = std::max(closeAt_, frame);
}

bool Session::ClosedCleanly() const {
    return partnerCloseAt_ == closeAt_ && confirmed_ >= closeAt_ && partnerAck_ >= closeAt_ - 1;
}

void Session::RollBack() {
    if (mismatchAt_ < 0) {
        return;
    }
    const std::int32_t from = mismatchAt_;
    mismatchAt_ = -1;
    world_ = saved_[from % kSaved];
    // Frames already shown once: nothing is drawn and no sound plays again.
    game::FrameSink silent;
    for (std::int32_t frame = from; frame < nextFrame_; ++frame) {
        StepFrame(frame, silent);
    }
    const std::int32_t count = nextFrame_ - from;
    ++stats_.Rollbacks;
    stats_.FramesRestepped += count;
    stats_.LastRollback = count;
    stats_.LongestRollback = std::max(stats_.LongestRollback, count);
}

void Session::ChooseInputDelay() {
    // A few round trips first: one alone may have met a late packet.
    if (options_.InputDelay >= 0 || sync_.RoundTripSamples() < 16) {
        return;
    }
    options_.InputDelay = InputDelayFor(sync_.RoundTripMs(), options_.FrameMs);
    // Only ever longer: the frames in between repeat the last input, so the
    // inputs stay one a frame.
    while (inputDelay_ < options_.InputDelay) {
        local_.push_back(local_.empty() ? PlayerInput{} : local_.back());
        ++inputDelay_;
    }
}

bool Session::CanStep() const {
    if (Closing() && nextFrame_ >= closeAt_) {
        return false;
    }
    const auto known = static_cast<std::int32_t>(partner_.size());
    const auto unacknowledged = static_cast<std::int32_t>(local_.size()) - (partnerAck_ + 1);
    return nextFrame_ - known < kPredictionFrames &&
           unacknowledged < static_cast<std::int32_t>(kMaxInputsPerPacket);
}

void Session::StepFrame(std::int32_t frame, game::FrameSink& sink) {
    saved_[frame % kSaved] = world_;
    const PlayerInput partner = PartnerInputAt(frame);
    used_[frame % kSaved] = partner;
    world_.Step(FrameInputAt(frame, partner, true), sink);
}

PlayerInput Session::PartnerInputAt(std::int32_t frame) const {
    if (frame < static_cast<std::int32_t>(partner_.size())) {
        return partner_[frame];
    }
    // The prediction: the partner keeps doing what it did last.
    return partner_.empty() ? PlayerInput{} : partner_.back();
}

game::FrameInput Session::FrameInputAt(std::int32_t frame, const PlayerInput& partner,
                                       bool stepped) const {
    PlayerInput other = partner;
    if (stepped && options_.ForceDesyncAtFrame >= 0 && frame >= options_.ForceDesyncAtFrame) {
        other.Fire = !other.Fire;
    }
    const PlayerInput& own = local_[frame];
    return options_.Host ? FrameInputOf(own, other, options_.Hard)
                         : FrameInputOf(other, own, options_.Hard);
}

void Session::Confirm() {
    std::int32_t limit = std::min(static_cast<std::int32_t>(partner_.size()), nextFrame_);
    if (Closing()) {
        limit = std::min(limit, closeAt_);
    }
    while (confirmed_ < limit && !end_) {
        const std::int32_t frame = confirmed_++;
        // The world after this frame: the one saved before the next, or the present one.
        const game::World& after = frame + 1 < nextFrame_ ? saved_[(frame + 1) % kSaved] : world_;
        if (options_.OnConfirmedFrame) {
            options_.OnConfirmedFrame(FrameInputAt(frame, partner_[frame], false), after);
        }
        if ((frame + 1) % options_.ChecksumFrames != 0) {
            continue;
        }
        ownChecksums_.push_back({{frame, after.Checksum()}, kChecksumRepeats});
        if (ownChecksums_.size() > kChecksumsKept) {
            ownChecksums_.erase(ownChecksums_.begin());
        }
        const auto waiting =
            std::find_if(partnerChecksums_.begin(), partnerChecksums_.end(),
                         [frame](const FrameChecksum& c) { return c.Frame == frame; });
        if (waiting != partnerChecksums_.end()) {
            const FrameChecksum partner = *waiting;
            partnerChecksums_.erase(waiting);
            CheckChecksum(partner);
        }
    }
}

void Session::CheckChecksum(const FrameChecksum& partner) {
    const auto own =
        std::find_if(ownChecksums_.begin(), ownChecksums_.end(),
                     [&partner](const OwnChecksum& c) { return c.Sum.Frame == partner.Frame; });
    if (own == ownChecksums_.end()) {
        // Not confirmed here yet: kept until it is. Older ones were compared before.
        const bool ahead = partner.Frame >= confirmed_;
        const bool known = std::find(partnerChecksums_.begin(), partnerChecksums_.end(), partner) !=
                           partnerChecksums_.end();
        if (ahead && !known && partnerChecksums_.size() < kChecksumsKept) {
            partnerChecksums_.push_back(partner);
        }
        return;
    }
    if (own->Sum.Value == partner.Value) {
        // A checksum repeated for a lost packet is counted once.
        if (!own->Matched) {
            own->Matched = true;
            ++stats_.ChecksumsMatched;
        }
        lastGoodFrame_ = std::max(lastGoodFrame_, partner.Frame);
        return;
    }
    SessionEnd end{EndReason::Desync, false, partner.Frame, lastGoodFrame_};
    end.LocalChecksum = own->Sum.Value;
    end.PartnerChecksum = partner.Value;
    Finish(end);
}

void Session::Send() {
    const std::int64_t now = clock_.NowUs();
    InputPacket packet;
    packet.SessionNonce = options_.SessionNonce;
    packet.Frame = nextFrame_;
    packet.Ack = static_cast<std::int32_t>(partner_.size()) - 1;
    packet.FirstFrame = partnerAck_ + 1;
    const auto last =
        std::min(local_.size(), static_cast<std::size_t>(packet.FirstFrame) + kMaxInputsPerPacket);
    packet.Inputs.assign(local_.begin() + packet.FirstFrame,
                         local_.begin() + static_cast<std::ptrdiff_t>(last));
    packet.SentAtMs = NowMs();
    if (echoReceivedUs_ >= 0) {
        packet.EchoMs = echoMs_;
        packet.EchoHoldMs = static_cast<std::uint16_t>(
            std::min<std::int64_t>((now - echoReceivedUs_) / 1000, kNoEcho - 1));
    } else {
        packet.EchoHoldMs = kNoEcho;
    }
    packet.AdvantageMs = sync_.AdvantageMs(nextFrame_, now);
    // One checksum a packet: the one with the most sends left, the older of
    // equals, so that checksums confirmed together take turns and each goes
    // out as often as a lone one would.
    OwnChecksum* next = nullptr;
    for (OwnChecksum& own : ownChecksums_) {
        if (own.SendsLeft > 0 && (!next || own.SendsLeft > next->SendsLeft)) {
            next = &own;
        }
    }
    if (next) {
        packet.Checksum = next->Sum;
        --next->SendsLeft;
    }
    const auto bytes = EncodePacket(packet);
    transport_.Send(bytes);
    ++stats_.PacketsSent;
    stats_.BytesSent += static_cast<std::int64_t>(bytes.size());
    if (Closing()) {
        SendEnd(EndReason::Quit, closeAt_);
    }
}

void Session::SendEnd(EndReason reason, std::int32_t frame) {
    const auto bytes = EncodePacket(End{options_.SessionNonce, reason, std::max(frame, 0)});
    transport_.Send(bytes);
    ++stats_.PacketsSent;
    stats_.BytesSent += static_cast<std::int64_t>(bytes.size());
}

void Session::Finish(SessionEnd end) {
    if (end_) {
        return;
    }
    end_ = end;
    // The last word, repeated: there is no next packet to repeat it in. The
    // Input packet carries the final acknowledgement a closing partner waits for.
    for (int i = 0; i < kEndRepeats; ++i) {
        Send();
        if (end.Reason != EndReason::Quit) {
            SendEnd(end.Reason, end.DesyncFrame);
        }
    }
}

std::uint32_t Session::NowMs() const {
    return static_cast<std::uint32_t>(clock_.NowUs() / 1000);
}

} // namespace online
