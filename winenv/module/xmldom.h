#pragma once

#include "dispatch.h"

// MSXML2.DOMDocument (also .3.0, .6.0 and Microsoft.XMLDOM) on libxml2: load and loadXML
// with parseError, save, the nodes with their names, values, text and attributes, the
// changes (createElement, appendChild, insertBefore, removeChild, replaceChild, cloneNode)
// and XPath 1.0 through selectSingleNode and selectNodes, with namespaces from the
// SelectionNamespaces property.
namespace winenv {

vbs::Object *newDocument();

} // namespace winenv
