#pragma once

// Data tables without a line per column or per value fetched.

#include <QTest>

#include <tuple>

// One data column per type, named in order: DataColumns<int, QString>("count", "text").
template <typename... T, typename... Names>
void DataColumns(const Names&... names)
{
    static_assert(sizeof...(T) == sizeof...(Names));
    (QTest::addColumn<T>(names), ...);
}

// The current row's values of these columns: auto [n, s] = DataRow<int, QString>("n", "s").
template <typename... T, typename... Names>
std::tuple<T...> DataRow(const Names&... names)
{
    static_assert(sizeof...(T) == sizeof...(Names));
    return {*static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))...};
}
