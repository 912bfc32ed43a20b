#include "fbquery.h"

#include "common/datetime.h"
#include "fbapi.h"
#include "sqltext.h"

#include <QtEndian>

#include <cstring>

namespace corvanta::db {

namespace {

constexpr unsigned dialect = 3;
constexpr unsigned charsetUtf8 = 4;
constexpr unsigned blobSegment = 32768;

template <typename T>
T readAs(const unsigned char *p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template <typename T>
void writeAs(unsigned char *p, T value)
{
    std::memcpy(p, &value, sizeof value);
}

}

struct FbQuery::Column
{
    QString name;
    unsigned type;
    int scale;
    unsigned length;
    unsigned offset;
    unsigned nullOffset;
};

FbQuery::FbQuery(FbDatabase &database, FbTransaction &transaction, const QString &sql)
    : m_database(database), m_transaction(transaction), m_sql(sql)
{
}

FbQuery::~FbQuery()
{
    if (m_cursor)
        m_cursor->release();
    freeStatement();
}

void FbQuery::setSql(const QString &sql)
{
    close();
    freeStatement();
    m_sql = sql;
    m_params.clear();
}

void FbQuery::setParam(const QString &name, int value)
{
    m_params.insert(name.toUpper(), value);
}

void FbQuery::setParam(const QString &name, const QString &value)
{
    m_params.insert(name.toUpper(), value);
}

void FbQuery::setParam(const QString &name, const QDateTime &value)
{
    m_params.insert(name.toUpper(), value);
}

void FbQuery::setNull(const QString &name)
{
    m_params.insert(name.toUpper(), QVariant());
}

void FbQuery::prepare()
{
    if (m_statement)
        return;
    const PositionalSql positional = toPositional(m_sql);
    const QByteArray text = positional.sql.toUtf8();
    Firebird::IAttachment *attachment = m_database.attachment();
    Firebird::ITransaction *transaction = m_transaction.handle();
    m_statement = fb::call([&](fb::Status *st) {
        return attachment->prepare(st, transaction, text.size(), text.constData(), dialect,
                                   Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    });
    m_parameterNames = positional.parameterNames;
    prepareOutput();
}

void FbQuery::prepareOutput()
{
    m_columns.clear();
    m_columnIndex.clear();
    fb::call([&](fb::Status *st) {
        m_outputMeta = m_statement->getOutputMetadata(st);
        const unsigned count = m_outputMeta->getCount(st);
        m_columns.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            Column c{QString::fromUtf8(m_outputMeta->getAlias(st, i)).toUpper(),
                     m_outputMeta->getType(st, i), m_outputMeta->getScale(st, i),
                     m_outputMeta->getLength(st, i), m_outputMeta->getOffset(st, i),
                     m_outputMeta->getNullOffset(st, i)};
            m_columnIndex.insert(c.name, int(m_columns.size())); // the last of equal names wins
            m_columns.push_back(std::move(c));
        }
        m_row.resize(m_outputMeta->getMessageLength(st));
    });
}

void FbQuery::freeStatement()
{
    if (m_outputMeta)
        m_outputMeta->release();
    m_outputMeta = nullptr;
    if (m_statement)
        m_statement->release();
    m_statement = nullptr;
    m_columns.clear();
    m_columnIndex.clear();
}

// Builds the input message from the named values: each parameter takes the type of its value,
// so the engine converts to the column's type (and checks lengths) itself.
Firebird::IMessageMetadata *FbQuery::bindInput(QByteArray &buffer)
{
    for (const QString &name : std::as_const(m_parameterNames)) {
        if (!m_params.contains(name))
            throw FbError(QStringLiteral("The parameter :%1 has no value").arg(name));
    }
    return fb::call([&](fb::Status *st) -> Firebird::IMessageMetadata * {
        fb::Ptr<Firebird::IMessageMetadata> declared(m_statement->getInputMetadata(st));
        const unsigned count = declared->getCount(st);
        if (count == 0)
            return nullptr;
        std::vector<QByteArray> texts(count);
        fb::Ptr<Firebird::IMetadataBuilder> builder(declared->getBuilder(st));
        for (unsigned i = 0; i < count; ++i) {
            const QVariant &value = m_params[m_parameterNames[i]];
            switch (value.typeId()) {
            case QMetaType::Int:
                builder->setType(st, i, SQL_LONG);
                builder->setScale(st, i, 0);
                builder->setLength(st, i, sizeof(ISC_LONG));
                break;
            case QMetaType::QString:
                texts[i] = value.toString().toUtf8();
                if (declared->getType(st, i) != SQL_BLOB) {
                    builder->setType(st, i, SQL_VARYING);
                    builder->setLength(st, i, unsigned(qMax<qsizetype>(1, texts[i].size())));
                    builder->setCharSet(st, i, charsetUtf8);
                }
                break;
            case QMetaType::QDateTime:
                builder->setType(st, i, SQL_TIMESTAMP);
                builder->setLength(st, i, sizeof(ISC_TIMESTAMP));
                break;
            default: // null keeps the declared type
                break;
            }
        }
        fb::Ptr<Firebird::IMessageMetadata> meta(builder->getMetadata(st));
        buffer = QByteArray(int(meta->getMessageLength(st)), '\0');
        auto *base = reinterpret_cast<unsigned char *>(buffer.data());
        auto *util = fb::master()->getUtilInterface();
        for (unsigned i = 0; i < count; ++i) {
            const QVariant &value = m_params[m_parameterNames[i]];
            writeAs<short>(base + meta->getNullOffset(st, i), value.isNull() ? -1 : 0);
            unsigned char *p = base + meta->getOffset(st, i);
            switch (value.typeId()) {
            case QMetaType::Int:
                writeAs<ISC_LONG>(p, value.toInt());
                break;
            case QMetaType::QString:
                if (meta->getType(st, i) == SQL_BLOB) {
                    ISC_QUAD id;
                    fb::Ptr<Firebird::IBlob> blob(
                        m_database.attachment()->createBlob(st, m_transaction.handle(), &id, 0, nullptr));
                    for (qsizetype at = 0; at < texts[i].size(); at += blobSegment)
                        blob->putSegment(st, unsigned(qMin<qsizetype>(blobSegment, texts[i].size() - at)),
                                         texts[i].constData() + at);
                    blob->close(st);
                    (void)blob.release();
                    writeAs<ISC_QUAD>(p, id);
                } else {
                    writeAs<ISC_USHORT>(p, ISC_USHORT(texts[i].size()));
                    std::memcpy(p + sizeof(ISC_USHORT), texts[i].constData(), size_t(texts[i].size()));
                }
                break;
            case QMetaType::QDateTime: {
                const QDateTime dt = value.toDateTime().toLocalTime();
                const QDate d = dt.date();
                const QTime t = dt.time();
                ISC_TIMESTAMP ts{util->encodeDate(unsigned(d.year()), unsigned(d.month()), unsigned(d.day())),
                                 util->encodeTime(unsigned(t.hour()), unsigned(t.minute()),
                                                  unsigned(t.second()), unsigned(t.msec()) * 10)};
                writeAs<ISC_TIMESTAMP>(p, ts);
                break;
            }
            default:
                break;
            }
        }
        return meta.release();
    });
}

void FbQuery::open()
{
    close();
    prepare();
    QByteArray input;
    fb::Ptr<Firebird::IMessageMetadata> inputMeta(bindInput(input));
    m_cursor = fb::call([&](fb::Status *st) {
        return m_statement->openCursor(st, m_transaction.handle(), inputMeta.get(),
                                       input.isEmpty() ? nullptr : input.data(), m_outputMeta, 0);
    });
}

bool FbQuery::next()
{
    if (!m_cursor)
        throw FbError(QStringLiteral("The query is not open: %1").arg(m_sql));
    return fb::call([&](fb::Status *st) {
        return m_cursor->fetchNext(st, m_row.data()) == Firebird::IStatus::RESULT_OK;
    });
}

void FbQuery::close()
{
    if (!m_cursor)
        return;
    Firebird::IResultSet *cursor = m_cursor;
    m_cursor = nullptr;
    try {
        fb::call([&](fb::Status *st) { cursor->close(st); });
    } catch (const FbError &) {
        cursor->release();
        throw;
    }
}

void FbQuery::execute()
{
    close();
    prepare();
    QByteArray input;
    fb::Ptr<Firebird::IMessageMetadata> inputMeta(bindInput(input));
    fb::call([&](fb::Status *st) {
        m_statement->execute(st, m_transaction.handle(), inputMeta.get(),
                             input.isEmpty() ? nullptr : input.data(), m_outputMeta,
                             m_columns.empty() ? nullptr : m_row.data());
    });
}

const FbQuery::Column &FbQuery::column(const QString &name) const
{
    const int index = m_columnIndex.value(name.toUpper(), -1);
    if (index < 0)
        throw FbError(QStringLiteral("Column %1 not found").arg(name));
    return m_columns[size_t(index)];
}

const unsigned char *FbQuery::data(const Column &c) const
{
    return reinterpret_cast<const unsigned char *>(m_row.constData()) + c.offset;
}

bool FbQuery::isNull(const QString &name) const
{
    const Column &c = column(name);
    return readAs<short>(reinterpret_cast<const unsigned char *>(m_row.constData()) + c.nullOffset) != 0;
}

int FbQuery::asInt(const QString &name) const
{
    if (isNull(name))
        return 0;
    const Column &c = column(name);
    const unsigned char *p = data(c);
    qint64 value = 0;
    switch (c.type) {
    case SQL_SHORT:
        value = readAs<ISC_SHORT>(p);
        break;
    case SQL_LONG:
        value = readAs<ISC_LONG>(p);
        break;
    case SQL_INT64:
        value = readAs<ISC_INT64>(p);
        break;
    case SQL_BOOLEAN:
        return readAs<FB_BOOLEAN>(p) ? 1 : 0;
    default:
        throw FbError(QStringLiteral("Column %1 is not an integer").arg(c.name));
    }
    for (int s = c.scale; s < 0; ++s)
        value /= 10;
    return int(value);
}

QString FbQuery::asString(const QString &name) const
{
    if (isNull(name))
        return {};
    const Column &c = column(name);
    const unsigned char *p = data(c);
    switch (c.type) {
    case SQL_VARYING:
        return QString::fromUtf8(reinterpret_cast<const char *>(p + sizeof(ISC_USHORT)),
                                 readAs<ISC_USHORT>(p));
    case SQL_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char *>(p), c.length);
    case SQL_BLOB:
        return QString::fromUtf8(readBlob(c));
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return QString::number(asInt(name));
    default:
        throw FbError(QStringLiteral("Column %1 is not a text").arg(c.name));
    }
}

QDateTime FbQuery::asDateTime(const QString &name) const
{
    if (isNull(name))
        return zeroDateTime();
    const Column &c = column(name);
    const unsigned char *p = data(c);
    auto *util = fb::master()->getUtilInterface();
    unsigned year, month, day, hours = 0, minutes = 0, seconds = 0, fractions = 0;
    switch (c.type) {
    case SQL_TIMESTAMP: {
        const auto ts = readAs<ISC_TIMESTAMP>(p);
        util->decodeDate(ts.timestamp_date, &year, &month, &day);
        util->decodeTime(ts.timestamp_time, &hours, &minutes, &seconds, &fractions);
        break;
    }
    case SQL_TYPE_DATE:
        util->decodeDate(readAs<ISC_DATE>(p), &year, &month, &day);
        break;
    default:
        throw FbError(QStringLiteral("Column %1 is not a date").arg(c.name));
    }
    return QDateTime(QDate(int(year), int(month), int(day)),
                     QTime(int(hours), int(minutes), int(seconds), int(fractions / 10)));
}

QByteArray FbQuery::readBlob(const Column &c) const
{
    ISC_QUAD id = readAs<ISC_QUAD>(data(c));
    return fb::call([&](fb::Status *st) {
        QByteArray text;
        fb::Ptr<Firebird::IBlob> blob(m_database.attachment()->openBlob(st, m_transaction.handle(), &id, 0, nullptr));
        char segment[blobSegment];
        unsigned length = 0;
        for (;;) {
            const int result = blob->getSegment(st, sizeof segment, segment, &length);
            if (result != Firebird::IStatus::RESULT_OK && result != Firebird::IStatus::RESULT_SEGMENT)
                break;
            text.append(segment, length);
        }
        blob->close(st);
        (void)blob.release();
        return text;
    });
}

}
