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
                         std::int64_t now) {
    return Make(MessageType::Offer, ice, mine, sessionKey, now);
}

MeetingMessage MakeAnswer(const IceSide& ice, const online::Versions& mine, const Key& sessionKey,
                          std::int64_t now) {
    return Make(MessageType::Answer, ice, mine, sessionKey, now);
}

MeetingMessage MakeTaken(const std::string& guestUfrag, std::int64_t now) {
    MeetingMessage m;
    m.Type = MessageType::Taken;
    m.CreatedAt = now;
    m.Ice.Ufrag = guestUfrag;
    return m;
}

GuestReading ReadAsGuest(const MeetingMessage& message, const online::Versions& mine,
                         const std::string& ownUfrag, std::int64_t now) {
    GuestReading reading;
    switch (message.Type) {
    case MessageType::Offer:
        if (!StillGood(message.CreatedAt, now)) {
            reading.Refusal = "この部屋のコードは期限が切れています(30 分)。ホストに新しいコードを"
                              "もらってください。";
        } else if (!SameVersions(message, mine)) {
            const online::Reject host{message.Protocol, 0, online::RejectReason::ProgramMismatch,
                                      message.ProgramVersion, message.DataVersion};
            reading.Refusal = online::RefusalForGuest(host, mine);
        } else {
            reading.Answer = true;
        }
        break;
    case MessageType::Taken:
        if (message.Ice.Ufrag != ownUfrag && StillGood(message.CreatedAt, now)) {
            reading.Refusal =
                "この部屋にはもう相手がいます。ホストに新しいコードをもらってください。";
        }
        break;
    case MessageType::Answer: // another guest's
        break;
    }
    return reading;
}

bool TakeAsHost(const MeetingMessage& message, const online::Versions& mine, std::int64_t now) {
    return message.Type == MessageType::Answer && StillGood(message.CreatedAt, now) &&
           SameVersions(message, mine) && !message.Ice.Ufrag.empty();
}

} // namespace meeting
