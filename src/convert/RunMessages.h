#pragma once

#include <QString>

// The fixed texts of a conversion run.
namespace RunMessages {

inline QString preparing() {
    return QStringLiteral("準備中");
}
inline QString convert() {
    return QStringLiteral("変換");
}
inline QString percent(int pct) {
    return QString::number(pct) + QStringLiteral(" ％");
}
inline QString invalidSelection() {
    return QStringLiteral("選択範囲が不正です");
}
inline QString ask999() {
    return QStringLiteral("桁数が最大(999)に達しました。続行しますか？");
}
inline QString paletteHasNoUsableCharacter() {
    return QStringLiteral("文字パレットに使える文字がありません");
}
inline QString selectionTooNarrow() {
    return QStringLiteral("選択範囲が狭すぎて変換できません");
}
inline QString glyphsTooLarge() {
    return QStringLiteral("文字が大きすぎるか文字パレットが長すぎて変換できません");
}
inline QString linesNotNumeric() {
    return QStringLiteral("行数の設定が不正です");
}
inline QString linesTooMany() {
    return QStringLiteral("行数は 999 以下でなければなりません");
}
inline QString linesTooFew() {
    return QStringLiteral("行数は 1 以上でなければなりません");
}
inline QString paletteRequired() {
    return QStringLiteral("文字パレットの設定が必要です");
}

} // namespace RunMessages
