// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// QString <-> std::u16string for test tables written with Qt's types.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

inline std::u16string U16(const QString& text) { return text.toStdU16String(); }
inline QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

inline QStringList Q(const std::vector<std::u16string>& texts)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::u16string& text : texts) {
        list.append(Q(text));
    }
    return list;
}
