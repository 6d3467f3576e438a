#include "sample/GenerationLog.h"

namespace tz {

QString GenerationLog::Format(LogEvent event, const QString& first, const QString& second, const QString& third)
{
    switch (event) {
    case LogEvent::AlreadyInstalled:
        return QStringLiteral("[警告] %1(%2)は既にインストールされています．現在有効なフォントを利用します．").arg(first, second);
    case LogEvent::Unavailable:
        return QStringLiteral("[ｴﾗｰ] %1(%2)が利用できませんでした．").arg(first, second);
    case LogEvent::Substituted:
        return QStringLiteral("[警告] %1(%2)が利用できませんでした．%3で置換えます．").arg(first, second, third);
    case LogEvent::DoesNotFit:
        return QStringLiteral("[警告] %1(%2)が用紙サイズ内に収まりませんでした．この書体は見本出力しません．").arg(first, second);
    case LogEvent::NotEmbedded:
        return QStringLiteral("[警告] %1(%2)はPDFに埋め込めない書体です．輪郭で出力します．").arg(first, second);
    case LogEvent::FileError:
        return QStringLiteral("[中断]ファイルエラーが発生しました．");
    case LogEvent::AnotherRun:
        return QStringLiteral("[中断] 他のTyposcanが実行中です．本Typoscanの実行を中止しました．");
    case LogEvent::Stopped:
        return QStringLiteral("[中断] 書体見本の作成が中止されました．");
    }
    return {};
}

void GenerationLog::LogMessage(LogEvent event, const QString& first, const QString& second, const QString& third)
{
    const QString line = Format(event, first, second, third);
    lines_.append(line);
    events_.append(event);
    emit LineAppended(line);
}

bool GenerationLog::Contains(LogEvent event) const { return events_.contains(event); }

void GenerationLog::Clear()
{
    lines_.clear();
    events_.clear();
}

} // namespace tz
