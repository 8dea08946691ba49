#include "Screenshots.h"

#include "speech/ReadAloud.h"

// The choice of the foreign language, with the voices of this machine's engine.
const ShotRegistrar speechShots("Speech", [](const QString& out) {
    SpeechEngine engine;
    QList<SpeechVoice> voices = engine.voices();
    if (voices.isEmpty())
        voices = {{QStringLiteral("de"), QStringLiteral("Deutsch")},
                  {QStringLiteral("en"), QStringLiteral("Englisch")},
                  {QStringLiteral("fr"), QStringLiteral("Französisch")}};
    LanguageDialog dialog(nullptr, voices, QStringLiteral("en"));
    SaveShot(&dialog, out, QStringLiteral("LanguageDialog-guess.png"));
});
