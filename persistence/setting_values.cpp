#include "persistence/setting_values.h"

namespace tallix {

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QStringView SkipSpaces(QStringView text) {
    while (!text.isEmpty() && text.front() == u' ')
        text = text.mid(1);
    return text;
}

QStringView TrimSpaces(QStringView text) {
    text = SkipSpaces(text);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

qsizetype SkipDigits(QStringView text, qsizetype at) {
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// The length of the number that starts the text, 0 when there is none. A mantissa needs at
// least one digit; an exponent counts only when digits follow its letter and sign.
qsizetype NumberLength(QStringView text) {
    qsizetype at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) ++at;
    const qsizetype integerStart = at;
    at = SkipDigits(text, at);
    qsizetype digits = at - integerStart;
    if (at < text.size() && text[at] == u'.') {
        const qsizetype fractionStart = at + 1;
        at = SkipDigits(text, fractionStart);
        digits += at - fractionStart;
    }
    if (digits == 0) return 0;
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        qsizetype exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-'))
            ++exponent;
        const qsizetype exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) at = exponentEnd;
    }
    return at;
}

double NumberValue(QStringView number) {
    // QString::toDouble reads the C locale whatever the user's, unlike strtod.
    return number.toString().toDouble();
}

}  // namespace

double LeadingNumber(QStringView text) {
    text = SkipSpaces(text);
    const qsizetype length = NumberLength(text);
    return length == 0 ? 0.0 : NumberValue(text.first(length));
}

bool SettingToBool(QStringView text) {
    text = TrimSpaces(text);
    if (text.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (text.compare(u"False", Qt::CaseInsensitive) == 0) return false;
    const qsizetype length = NumberLength(text);
    return length > 0 && length == text.size() && NumberValue(text) != 0.0;
}

QString BoolToSetting(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

}  // namespace tallix
