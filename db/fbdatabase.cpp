#include "fbdatabase.h"

#include "fbapi.h"

#include <QFile>

namespace corvanta::db {

namespace fb {

Firebird::IMaster *master()
{
    static Firebird::IMaster *const instance = Firebird::fb_get_master_interface();
    return instance;
}

QString message(const Firebird::IStatus *status)
{
    char buffer[2048];
    master()->getUtilInterface()->formatStatus(buffer, sizeof buffer,
                                               const_cast<Firebird::IStatus *>(status));
    return QString::fromUtf8(buffer).trimmed();
}

}

namespace {

constexpr unsigned dialect = 3;

// Closes an engine object without letting an error escape: used where an error can no longer
// be reported (destructors), so the handle is released either way.
template <typename T, typename Close>
void closeQuietly(T *&handle, Close close)
{
    if (!handle)
        return;
    Firebird::CheckStatusWrapper status(fb::master()->getStatus());
    close(handle, &status);
    if (status.getState() & Firebird::IStatus::STATE_ERRORS)
        handle->release();
    status.dispose();
    handle = nullptr;
}

}

FbDatabase::FbDatabase() = default;

FbDatabase::~FbDatabase()
{
    closeQuietly(m_attachment, [](auto *a, auto *s) { a->detach(s); });
}

void FbDatabase::open()
{
    attach(false);
}

void FbDatabase::create()
{
    attach(true);
}

void FbDatabase::attach(bool createFile)
{
    if (m_attachment)
        return;
    if (BeforeConnect)
        BeforeConnect();
    const QByteArray path = QFile::encodeName(m_databaseName);
    m_attachment = fb::call([&](fb::Status *st) {
        auto *util = fb::master()->getUtilInterface();
        fb::Ptr<Firebird::IXpbBuilder> dpb(util->getXpbBuilder(st, Firebird::IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(st, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(st, isc_dpb_password, "plumtrove");
        if (createFile) {
            dpb->insertInt(st, isc_dpb_page_size, 8192);
            dpb->insertInt(st, isc_dpb_sql_dialect, dialect);
            dpb->insertString(st, isc_dpb_set_db_charset, "UTF8");
        }
        auto *provider = fb::master()->getDispatcher();
        Firebird::IAttachment *a = createFile
            ? provider->createDatabase(st, path.constData(), dpb->getBufferLength(st), dpb->getBuffer(st))
            : provider->attachDatabase(st, path.constData(), dpb->getBufferLength(st), dpb->getBuffer(st));
        provider->release();
        return a;
    });
}

void FbDatabase::drop()
{
    Firebird::IAttachment *a = attachment();
    fb::call([&](fb::Status *st) { a->dropDatabase(st); });
    m_attachment = nullptr;
}

void FbDatabase::close()
{
    if (!m_attachment)
        return;
    fb::call([&](fb::Status *st) { m_attachment->detach(st); });
    m_attachment = nullptr;
}

Firebird::IAttachment *FbDatabase::attachment()
{
    open();
    return m_attachment;
}

FbTransaction::FbTransaction(FbDatabase &database) : m_database(database) {}

FbTransaction::~FbTransaction()
{
    closeQuietly(m_transaction, [](auto *t, auto *s) { t->commit(s); });
}

Firebird::ITransaction *FbTransaction::handle()
{
    if (!m_transaction) {
        Firebird::IAttachment *a = m_database.attachment();
        m_transaction = fb::call([&](fb::Status *st) { return a->startTransaction(st, 0, nullptr); });
    }
    return m_transaction;
}

void FbTransaction::commit()
{
    if (!m_transaction)
        return;
    fb::call([&](fb::Status *st) { m_transaction->commit(st); });
    m_transaction = nullptr;
}

void FbTransaction::commitRetaining()
{
    if (m_transaction)
        fb::call([&](fb::Status *st) { m_transaction->commitRetaining(st); });
}

void FbTransaction::rollback()
{
    if (!m_transaction)
        return;
    fb::call([&](fb::Status *st) { m_transaction->rollback(st); });
    m_transaction = nullptr;
}

}
