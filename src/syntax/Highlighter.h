// The line highlighter as the text model sees it: a document's highlighting is the syntax
// definition of its class.
#pragma once

class Document;
struct SyntaxDef;

// The syntax definition that highlights the document, or none while its class has highlighting
// off.
const SyntaxDef* SyntaxOf(const Document& document);
