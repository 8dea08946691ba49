#include "SpeechOutput.h"

// No speech engine is built in on this system: reading aloud reports that once and is
// silent.
namespace speech {

std::optional<Voices> LoadEngine(const QString&)
{
    return std::nullopt;
}

Outcome Say(const QByteArray&, const QByteArray&, const std::function<bool()>&,
            const std::function<void()>&)
{
    return Outcome::Failed;
}

}  // namespace speech
