#include "corvantabuilder.h"

#include "u_factory.h"

namespace corvanta::site {

QString TCorvantaBuilder::GetOutputFolder() const
{
    return m_outputFolder.endsWith(u'/') ? m_outputFolder : m_outputFolder + u'/';
}

void TCorvantaBuilder::CreateFactory()
{
    m_factory.reset(); // the earlier factory goes before the new one reads anything
    m_factory = std::make_unique<TWebFactory>(this);
}

void TCorvantaBuilder::ReleaseLists()
{
    if (m_factory)
        m_factory->ReleaseLists();
}

}
