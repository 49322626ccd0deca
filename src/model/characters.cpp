#include "model/characters.h"

namespace Characters {

qsizetype count(QStringView text)
{
    qsizetype characters = 0;
    for (qsizetype pos = 0; pos < text.size(); pos += firstLength(text.sliced(pos)))
        ++characters;
    return characters;
}

} // namespace Characters
