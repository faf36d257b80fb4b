#include "app/RuntimeLib.h"

namespace RuntimeLib {

qint16 RuntimeLibInstall() {
    return 0;
}

std::optional<Message> messageFor(qint16 result) {
    const QString title = QStringLiteral("Charloom");
    if (result == 1)
        return Message{QStringLiteral("必要な DLL ファイル VB5JP.DLL をインストールしました。") +
                           title + QStringLiteral(" を再起動して下さい"),
                       title + QStringLiteral(" 起動情報"), false};
    if (result == -1)
        return Message{QStringLiteral("必要な DLL ファイル VB5JP.DLL が見つかりませんでした。"),
                       title + QStringLiteral(" 起動エラー"), true};
    return std::nullopt;
}

} // namespace RuntimeLib
