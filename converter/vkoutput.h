#pragma once

#include "converter/vkbase.h"
#include "converter/vkdom.h"

#include <QByteArray>

namespace corvanta {

// Walks the document tree after parsing and writes the body: HTML paragraphs and lists, or plain text.
class TVkOutputWriter
{
public:
    TVkOutputWriter(TVkBase &component, TSimpleDomDocument &document);

    TSimpleDomDocument &GetDocument() { return *m_document; }
    void SetDocument(TSimpleDomDocument &document) { m_document = &document; }
    void SetPlainText(bool on) { m_plainText = on; }
    void SetEmptyParagraphText(const QByteArray &text) { m_emptyParagraphText = text; }
    void SetLineBreakText(const QByteArray &text) { m_lineBreakText = text; }
    void SetEmptyParagraphToBreak(bool on) { m_emptyParagraphToBreak = on; }
    // Fills the output; each line is followed by CR LF. What was written stays in Output()
    // when a step raises.
    void Write();
    const QByteArray &Output() const { return m_output; }

private:
    void WriteHtml();
    void WritePlainText();
    QByteArray ListOpen(int index) const;
    QByteArray ListClose(int index) const;

    TVkBase &m_component;
    TSimpleDomDocument *m_document;
    QByteArray m_emptyParagraphText;
    QByteArray m_lineBreakText;
    bool m_emptyParagraphToBreak = false;
    bool m_plainText = false;
    QByteArray m_output;
    // Per paragraph: its encoded body, and whether it is written as a list entry.
    QByteArrayList m_bodies;
    std::vector<char> m_listEntry;
};

}
