#include "meeting/room_exchange.h"

namespace meeting {

namespace {

MeetingMessage Make(MessageType type, const IceSide& ice, const online::Versions& mine,
                    const Key& sessionKey, std::int64_t now) {
    MeetingMessage m;
    m.Type = type;
    m.CreatedAt = now;
    m.Protocol = online::kProtocolVersion;
    m.ProgramVersion = mine.Program;
    m.DataVersion = mine.Data;
    m.Ice = ice;
    m.SessionKey = sessionKey;
    return m;
}

bool SameVersions(const MeetingMessage& m, const online::Versions& mine) {
    return m.Protocol == online::kProtocolVersion && m.ProgramVersion == mine.Program &&
           m.DataVersion == mine.Data;
}

} // namespace

MeetingMessage MakeOffer(const IceSide& ice, const online::Versions& mine, const Key& sessionKey,
                         const std::string& guestUfrag, std::int64_t now) {
    MeetingMessage m = Make(MessageType::Offer, ice, mine, sessionKey, now);
    m.Guest = guestUfrag;
    return m;
}

MeetingMessage MakeAnswer(const IceSide& ice, const online::Versions& mine, const Key& sessionKey,
                          std::int64_t now) {
    return Make(MessageType::Answer, ice, mine, sessionKey, now);
}

MeetingMessage MakeTaken(const std::string& guestUfrag, std::int64_t now) {
    MeetingMessage m;
    m.Type = MessageType::Taken;
    m.CreatedAt = now;
    m.Guest = guestUfrag;
    return m;
}

GuestReading ReadAsGuest(const MeetingMessage& message, const online::Versions& mine,
                         const std::string& ownUfrag, std::int64_t now) {
    GuestReading reading;
    if (message.Type == MessageType::Answer || message.Guest != ownUfrag ||
        !StillGood(message.CreatedAt, now)) {
        return reading; // another guest's, or not a reply at all
    }
    if (message.Type == MessageType::Taken) {
        reading.Refusal = "この部屋にはもう相手がいます。ホストに新しいコードをもらってください。";
    } else if (!SameVersions(message, mine)) {
        const online::Reject host{message.Protocol, 0, online::RejectReason::ProgramMismatch,
                                  message.ProgramVersion, message.DataVersion};
        reading.Refusal = online::RefusalForGuest(host, mine);
    } else {
        reading.Answer = true;
    }
    return reading;
}

HostReading ReadAsHost(const MeetingMessage& message, const online::Versions& mine,
                       std::int64_t now) {
    if (message.Type != MessageType::Answer || !StillGood(message.CreatedAt, now) ||
        message.Ice.Ufrag.empty()) {
        return HostReading::Ignore;
    }
    return SameVersions(message, mine) ? HostReading::Take : HostReading::Mismatch;
}

} // namespace meeting
