#include "collect/AddOutcome.h"

namespace tz {

AddOutcome OutcomeOf(FaceProblem problem)
{
    switch (problem) {
    case FaceProblem::Unreadable:
        return AddOutcome::Unreadable;
    case FaceProblem::CffOutlines:
        return AddOutcome::CffOutlines;
    case FaceProblem::Damaged:
        return AddOutcome::Damaged;
    case FaceProblem::None: // faces, but none chosen: cannot happen for a file of faces
    case FaceProblem::NotFont:
        break;
    }
    return AddOutcome::NotFont;
}

QString ReasonText(AddOutcome outcome)
{
    switch (outcome) {
    case AddOutcome::Added:
        break;
    case AddOutcome::NotFont:
        return QStringLiteral("フォントではありません");
    case AddOutcome::CffOutlines:
        return QStringLiteral("OpenType CFFアウトライン(未対応)");
    case AddOutcome::Damaged:
        return QStringLiteral("ファイルが壊れています");
    case AddOutcome::Unreadable:
        return QStringLiteral("読み込めません");
    case AddOutcome::NoFonts:
        return QStringLiteral("フォントが含まれていません");
    case AddOutcome::TooLarge:
        return QStringLiteral("展開すると大きすぎます");
    }
    return {};
}

} // namespace tz
