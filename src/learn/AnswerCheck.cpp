#include "AnswerCheck.h"

#include "app/AnsiText.h"

bool CheckAnswer(const QString& typed, const QString& expected, bool ignoreCase)
{
    const QString answer = TrimBlanks(typed);
    if (ignoreCase)
        return AnsiUpper(answer) == AnsiUpper(expected);
    return answer == expected;
}
