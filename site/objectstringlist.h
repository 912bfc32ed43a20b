#pragma once

#include "common/error.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace corvanta::site {

// A key that names no entry of a list.
class EListIndexError : public Error
{
public:
    using Error::Error;
};

// An owning list of (key, object) entries in the order they were appended. Keys may repeat and
// may be empty; FindByKey returns the first entry whose key matches without regard to letter
// case, through an index so that lookups stay cheap on large lists.
template <typename T>
class TObjectStringList
{
    struct Entry
    {
        QString key;
        std::unique_ptr<T> object;
    };

public:
    T *Add(const QString &key, std::unique_ptr<T> object)
    {
        T *raw = object.get();
        const QString folded = key.toCaseFolded();
        if (!m_firstByKey.contains(folded))
            m_firstByKey.insert(folded, m_entries.size());
        m_entries.push_back({key, std::move(object)});
        return raw;
    }

    T *Add(const QString &key) { return Add(key, std::make_unique<T>()); }

    T *FindByKey(const QString &key) const
    {
        const auto it = m_firstByKey.constFind(key.toCaseFolded());
        if (it == m_firstByKey.cend())
            throw EListIndexError(QStringLiteral("No entry with the key \"%1\"").arg(key));
        return m_entries[*it].object.get();
    }

    qsizetype Count() const { return qsizetype(m_entries.size()); }
    T *operator[](qsizetype index) const { return m_entries[size_t(index)].object.get(); }
    const QString &Key(qsizetype index) const { return m_entries[size_t(index)].key; }

    // Iterates the objects in list order.
    class Iterator
    {
    public:
        explicit Iterator(typename std::vector<Entry>::const_iterator it) : m_it(it) {}
        T *operator*() const { return m_it->object.get(); }
        Iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator!=(const Iterator &other) const { return m_it != other.m_it; }

    private:
        typename std::vector<Entry>::const_iterator m_it;
    };
    Iterator begin() const { return Iterator(m_entries.cbegin()); }
    Iterator end() const { return Iterator(m_entries.cend()); }

private:
    std::vector<Entry> m_entries;
    QHash<QString, size_t> m_firstByKey;
};

}
