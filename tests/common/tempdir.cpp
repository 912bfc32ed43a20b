#include "common/tempdir.h"

#include <gtest/gtest.h>

namespace corvanta::test {

TempDir::TempDir()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString sourceDir()
{
    return qEnvironmentVariable("CORVANTA_SOURCE_DIR", QStringLiteral(CORVANTA_SOURCE_DIR_DEFAULT));
}

}
