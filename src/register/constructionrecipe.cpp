#include "register/constructionrecipe.h"

#include <array>

namespace {

constexpr std::array kWords{"Intersection", "Pierce", "Meet",       "Midpoint",
                            "Projection",   "Line",   "Bolt circle"};
const QString kNameSeparator = QStringLiteral(", ");

bool IsName(QStringView name)
{
    if (name.isEmpty() || !name.front().isLetter())
        return false;
    for (const QChar c : name)
        if (!c.isLetterOrNumber() || c.unicode() >= 128)
            return false;
    return true;
}

} // namespace

QString TConstructionRecipe::Word(TKind kind)
{
    return QString::fromLatin1(kWords[static_cast<int>(kind)]);
}

int TConstructionRecipe::InputCount(TKind kind)
{
    return kind == TKind::BoltCircle ? 3 : 2;
}

std::optional<TConstructionRecipe> TConstructionRecipe::Read(QStringView from)
{
    const QStringView text = from.trimmed();
    for (int i = 0; i < KindCount; ++i) {
        const auto kind = static_cast<TKind>(i);
        const QString word = Word(kind);
        // "Line" must not take the start of a longer word.
        if (!text.startsWith(word) || text.size() <= word.size() || text[word.size()] != QLatin1Char(' '))
            continue;
        TConstructionRecipe recipe{kind, {}};
        for (const QStringView name : text.mid(word.size()).split(QLatin1Char(','))) {
            if (!IsName(name.trimmed()))
                return std::nullopt;
            recipe.inputs.append(name.trimmed().toString());
        }
        const int count = InputCount(kind);
        const auto given = recipe.inputs.size();
        if (kind == TKind::BoltCircle ? given < count : given != count)
            return std::nullopt;
        return recipe;
    }
    return std::nullopt;
}

QString TConstructionRecipe::Text() const
{
    return Word(kind) + QLatin1Char(' ') + inputs.join(kNameSeparator);
}
