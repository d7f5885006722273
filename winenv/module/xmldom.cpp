#include "xmldom.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <memory>
#include <unordered_set>

#include "convert.h"
#include "winpath.h"

using namespace vbs;

namespace winenv {

namespace {

// A libxml2 document and the nodes taken out of it (removeChild), freed with it. Nodes and
// the document object share it, so that a node outlives a reload of its document.
struct Tree {
    xmlDocPtr doc = nullptr;
    std::unordered_set<xmlNodePtr> detached;
    ~Tree()
    {
        // Only what is still outside the tree, found before anything is freed: a node
        // detached once may sit inside another detached node by now.
        std::vector<xmlNodePtr> loose;
        for (xmlNodePtr n : detached)
            if (!n->parent)
                loose.push_back(n);
        for (xmlNodePtr n : loose)
            n->type == XML_ATTRIBUTE_NODE ? xmlFreeProp(reinterpret_cast<xmlAttrPtr>(n)) : xmlFreeNode(n);
        if (doc)
            xmlFreeDoc(doc);
    }
};

QString fromXml(const xmlChar *text) { return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString(); }
QByteArray toXml(const QString &text) { return text.toUtf8(); }
const xmlChar *xml(const QByteArray &bytes) { return reinterpret_cast<const xmlChar *>(bytes.constData()); }

QString content(xmlNodePtr n)
{
    xmlChar *c = xmlNodeGetContent(n);
    const QString text = fromXml(c);
    xmlFree(c);
    return text;
}

QString serialized(xmlNodePtr n)
{
    xmlBufferPtr buffer = xmlBufferCreate();
    if (n->type == XML_DOCUMENT_NODE) {
        xmlChar *out = nullptr;
        int size = 0;
        xmlDocDumpMemoryEnc(reinterpret_cast<xmlDocPtr>(n), &out, &size, "UTF-8");
        QString text = QString::fromUtf8(reinterpret_cast<const char *>(out), size);
        xmlFree(out);
        xmlBufferFree(buffer);
        text.replace(QLatin1String("\n"), QLatin1String("\r\n")); // MSXML ends its lines so
        // libxml2 names the encoding it wrote; MSXML keeps the declaration as it was read.
        static const QRegularExpression addedEncoding(QStringLiteral("^(<\\?xml[^?]*?) encoding=\"UTF-8\"\\?>"));
        return text.replace(addedEncoding, QStringLiteral("\\1?>"));
    }
    xmlNodeDump(buffer, n->doc, n, 0, 0);
    const QString text = fromXml(xmlBufferContent(buffer));
    xmlBufferFree(buffer);
    return text;
}

class Document;

// One node of a tree: element, attribute, text, comment, processing instruction.
class Node : public Object {
public:
    Node(std::shared_ptr<Tree> tree, xmlNodePtr node) : m_tree(std::move(tree)), m_node(node)
    {
        if (node)
            node->_private = this;
    }
    ~Node() override
    {
        if (m_node && m_node->_private == this)
            m_node->_private = nullptr;
    }
    QString typeName() const override;
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;
    xmlNodePtr node() const { return m_node; }
    const std::shared_ptr<Tree> &tree() const { return m_tree; }

protected:
    bool nodeMember(Context &cx, int id, bool assigning, Args a, Value &result);
    std::shared_ptr<Tree> m_tree;
    xmlNodePtr m_node;
};

// The script's object for a node: the one it already has, or a new one.
Value wrap(const std::shared_ptr<Tree> &tree, xmlNodePtr n)
{
    if (!n)
        return Value::object(nullptr);
    if (n->_private)
        return Value::object(static_cast<Node *>(n->_private));
    return Value::object(new Node(tree, n));
}

// childNodes, selectNodes, getElementsByTagName: length, item(i), For Each, nextNode.
class NodeList : public Object {
public:
    NodeList(std::shared_ptr<Tree> tree, std::vector<xmlNodePtr> nodes) : m_tree(std::move(tree)), m_nodes(std::move(nodes)) {}
    QString typeName() const override { return QStringLiteral("IXMLDOMNodeList"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"item", "length", "nextNode", "reset"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args a, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        if (id == DefaultMember)
            id = 1;
        switch (id) {
        case 1: {
            int32_t i;
            if (a.count != 1 || !toLong(cx, a[0], i))
                return cx.raiseUnlessPending(err::WrongArgs);
            result = i >= 0 && size_t(i) < m_nodes.size() ? wrap(m_tree, m_nodes[size_t(i)]) : Value::object(nullptr);
            return true;
        }
        case 2: result = Value::lng(int32_t(m_nodes.size())); return a.count == 0 || cx.raise(err::WrongArgs);
        case 3:
            result = m_next < m_nodes.size() ? wrap(m_tree, m_nodes[m_next++]) : Value::object(nullptr);
            return true;
        case 4: m_next = 0; return true;
        default: return cx.raise(err::NoSuchMember);
        }
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        for (xmlNodePtr n : m_nodes)
            items.push_back(wrap(m_tree, n));
        return true;
    }

private:
    std::shared_ptr<Tree> m_tree;
    std::vector<xmlNodePtr> m_nodes;
    size_t m_next = 0;
};

// An element's attributes: length, item(i), getNamedItem, For Each.
class AttributeMap : public Object {
public:
    AttributeMap(std::shared_ptr<Tree> tree, xmlNodePtr element) : m_tree(std::move(tree)), m_element(element) {}
    QString typeName() const override { return QStringLiteral("IXMLDOMNamedNodeMap"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"item", "length", "getNamedItem", "removeNamedItem"};
        return members.id(name);
    }
    std::vector<xmlNodePtr> attributes() const
    {
        std::vector<xmlNodePtr> out;
        for (xmlAttrPtr at = m_element->properties; at; at = at->next)
            out.push_back(reinterpret_cast<xmlNodePtr>(at));
        return out;
    }
    bool invoke(Context &cx, int id, Invoke, Args a, Value &result) override
    {
        if (id == DefaultMember)
            id = 1;
        const std::vector<xmlNodePtr> all = attributes();
        QString name;
        switch (id) {
        case 1: {
            int32_t i;
            if (a.count != 1 || !toLong(cx, a[0], i))
                return cx.raiseUnlessPending(err::WrongArgs);
            result = i >= 0 && size_t(i) < all.size() ? wrap(m_tree, all[size_t(i)]) : Value::object(nullptr);
            return true;
        }
        case 2: result = Value::lng(int32_t(all.size())); return a.count == 0 || cx.raise(err::WrongArgs);
        case 3:
        case 4:
            if (a.count != 1 || !toText(cx, a[0], name))
                return cx.raiseUnlessPending(err::WrongArgs);
            for (xmlNodePtr n : all)
                if (fromXml(n->name) == name) {
                    result = wrap(m_tree, n);
                    if (id == 4) {
                        xmlUnlinkNode(n);
                        m_tree->detached.insert(n);
                    }
                    return true;
                }
            result = Value::object(nullptr);
            return true;
        default:
            return cx.raise(err::NoSuchMember);
        }
    }
    bool enumerate(Context &, std::vector<Value> &items) override
    {
        for (xmlNodePtr n : attributes())
            items.push_back(wrap(m_tree, n));
        return true;
    }

private:
    std::shared_ptr<Tree> m_tree;
    xmlNodePtr m_element;
};

class ParseError : public Object {
public:
    int32_t code = 0;
    QString reason, srcText, url;
    int32_t line = 0, column = 0;
    void reset()
    {
        code = line = column = 0;
        reason.clear();
        srcText.clear();
        url.clear();
    }
    QString typeName() const override { return QStringLiteral("IXMLDOMParseError"); }
    int memberId(const QString &name) override
    {
        static const MemberTable members{"errorCode", "reason", "line", "linepos", "srcText", "url", "filepos"};
        return members.id(name);
    }
    bool invoke(Context &cx, int id, Invoke kind, Args, Value &result) override
    {
        if (kind & (InvokeLet | InvokeSet))
            return cx.raise(err::NoSuchMember);
        switch (id) {
        case DefaultMember:
        case 1: result = Value::lng(code); return true;
        case 2: result = Value::string(reason); return true;
        case 3: result = Value::lng(line); return true;
        case 4: result = Value::lng(column); return true;
        case 5: result = Value::string(srcText); return true;
        case 6: result = Value::string(url); return true;
        case 7: result = Value::lng(0); return true;
        default: return cx.raise(err::NoSuchMember);
        }
    }
};

enum NodeId {
    NodeName = 1, NodeType, NodeValue, Text, Xml, Attributes, GetAttribute, SetAttribute, RemoveAttribute, ChildNodes,
    ParentNode, FirstChild, LastChild, NextSibling, PreviousSibling, OwnerDocument, AppendChild, InsertBefore,
    RemoveChild, ReplaceChild, CloneNode, HasChildNodes, SelectSingleNode, SelectNodes, GetElementsByTagName, TagName,
    BaseName, NamespaceURI, Prefix, Value_, Name, GetAttributeNode, Data, NodeTypeString, LastNodeId
};

const char *const NodeMembers[] = {
    "nodeName", "nodeType", "nodeValue", "text", "xml", "attributes", "getAttribute", "setAttribute",
    "removeAttribute", "childNodes", "parentNode", "firstChild", "lastChild", "nextSibling", "previousSibling",
    "ownerDocument", "appendChild", "insertBefore", "removeChild", "replaceChild", "cloneNode", "hasChildNodes",
    "selectSingleNode", "selectNodes", "getElementsByTagName", "tagName", "baseName", "namespaceURI", "prefix",
    "value", "name", "getAttributeNode", "data", "nodeTypeString"};

int nodeMemberId(const QString &name)
{
    for (int i = 0; i < int(std::size(NodeMembers)); ++i)
        if (name.compare(QLatin1String(NodeMembers[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    return NoMember;
}

int domType(xmlNodePtr n)
{
    switch (n->type) {
    case XML_ELEMENT_NODE: return 1;
    case XML_ATTRIBUTE_NODE: return 2;
    case XML_TEXT_NODE: return 3;
    case XML_CDATA_SECTION_NODE: return 4;
    case XML_ENTITY_REF_NODE: return 5;
    case XML_PI_NODE: return 7;
    case XML_COMMENT_NODE: return 8;
    case XML_DOCUMENT_NODE: return 9;
    case XML_DTD_NODE: return 10;
    case XML_DOCUMENT_FRAG_NODE: return 11;
    default: return 0;
    }
}

QString qualifiedName(xmlNodePtr n)
{
    switch (n->type) {
    case XML_TEXT_NODE: return QStringLiteral("#text");
    case XML_CDATA_SECTION_NODE: return QStringLiteral("#cdata-section");
    case XML_COMMENT_NODE: return QStringLiteral("#comment");
    case XML_DOCUMENT_NODE: return QStringLiteral("#document");
    case XML_DOCUMENT_FRAG_NODE: return QStringLiteral("#document-fragment");
    default: break;
    }
    const QString local = fromXml(n->name);
    return n->ns && n->ns->prefix ? fromXml(n->ns->prefix) + QLatin1Char(':') + local : local;
}

bool hasValue(xmlNodePtr n)
{
    return n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE || n->type == XML_COMMENT_NODE
           || n->type == XML_ATTRIBUTE_NODE || n->type == XML_PI_NODE;
}

void descendantsNamed(xmlNodePtr n, const QString &name, std::vector<xmlNodePtr> &out)
{
    for (xmlNodePtr c = n->children; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE)
            continue;
        if (name == QLatin1String("*") || qualifiedName(c) == name)
            out.push_back(c);
        descendantsNamed(c, name, out);
    }
}

constexpr int32_t DomError = int32_t(0x80004005);

bool domError(Context &cx, const QString &why)
{
    return cx.raise(DomError, why);
}

} // namespace

// ---- the document ----------------------------------------------------------------------

namespace {

class Document : public Node {
public:
    Document() : Node(std::make_shared<Tree>(), nullptr) { fresh(); }
    QString typeName() const override { return QStringLiteral("DOMDocument"); }
    int memberId(const QString &name) override;
    bool invoke(Context &cx, int id, Invoke kind, Args args, Value &result) override;

    QString m_namespaces; // SelectionNamespaces
private:
    void fresh()
    {
        if (m_node && m_node->_private == this)
            m_node->_private = nullptr;
        m_tree = std::make_shared<Tree>();
        m_tree->doc = xmlNewDoc(reinterpret_cast<const xmlChar *>("1.0"));
        m_node = reinterpret_cast<xmlNodePtr>(m_tree->doc);
        m_node->_private = this;
    }
    bool parse(Context &cx, const QByteArray &bytes, const QString &url, Value &result);
    bool m_async = true;
    bool m_preserveWhiteSpace = false;
    Value m_parseError = Value::object(new ParseError);
};

enum DocumentId {
    Load = 100, LoadXML, Save, DocumentElement, ParseErrorId, CreateElement, CreateAttribute, CreateTextNode,
    CreateComment, CreateCDATASection, CreateProcessingInstruction, Async, PreserveWhiteSpace, SetProperty,
    GetProperty, ValidateOnParse, ResolveExternals, ReadyState, CreateNode, CreateDocumentFragment
};
const char *const DocumentMembers[] = {
    "load", "loadXML", "save", "documentElement", "parseError", "createElement", "createAttribute",
    "createTextNode", "createComment", "createCDATASection", "createProcessingInstruction", "async",
    "preserveWhiteSpace", "setProperty", "getProperty", "validateOnParse", "resolveExternals", "readyState",
    "createNode", "createDocumentFragment"};

Document *ownerOf(const Node *n)
{
    xmlDocPtr doc = n->node()->doc;
    return doc && doc->_private ? dynamic_cast<Document *>(static_cast<Node *>(doc->_private)) : nullptr;
}

// XPath 1.0 from a context node, with the document's SelectionNamespaces.
bool evaluate(Context &cx, const Node *from, const QString &path, std::vector<xmlNodePtr> &out)
{
    xmlNodePtr node = from->node();
    xmlXPathContextPtr xpath = xmlXPathNewContext(node->doc ? node->doc : reinterpret_cast<xmlDocPtr>(node));
    if (!xpath)
        return cx.raise(err::OutOfMemory);
    xpath->node = node;
    if (const Document *owner = ownerOf(from)) {
        static const QRegularExpression binding(QStringLiteral("xmlns:(\\w[\\w.-]*)\\s*=\\s*['\"]([^'\"]*)['\"]"));
        auto it = binding.globalMatch(owner->m_namespaces);
        while (it.hasNext()) {
            const auto m = it.next();
            xmlXPathRegisterNs(xpath, xml(toXml(m.captured(1))), xml(toXml(m.captured(2))));
        }
    }
    const QByteArray expression = toXml(path);
    xmlXPathObjectPtr found = xmlXPathEvalExpression(xml(expression), xpath);
    if (!found) {
        xmlXPathFreeContext(xpath);
        return domError(cx, QStringLiteral("Expected token: the XPath expression is not valid: %1").arg(path));
    }
    if (found->type == XPATH_NODESET && found->nodesetval)
        for (int i = 0; i < found->nodesetval->nodeNr; ++i)
            out.push_back(found->nodesetval->nodeTab[i]);
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(xpath);
    return cx.spend(qint64(out.size()) * 16);
}

// A node that the script hands back (appendChild's argument): one of this document's.
bool nodeArg(Context &cx, const Value &v, const std::shared_ptr<Tree> &tree, Node *&out)
{
    out = v.isObject() ? dynamic_cast<Node *>(v.asObject()) : nullptr;
    if (!out)
        return cx.raise(err::TypeMismatch);
    if (out->node()->doc != tree->doc)
        return domError(cx, QStringLiteral("The node belongs to another document"));
    return true;
}

} // namespace

QString Node::typeName() const
{
    switch (m_node->type) {
    case XML_ELEMENT_NODE: return QStringLiteral("IXMLDOMElement");
    case XML_ATTRIBUTE_NODE: return QStringLiteral("IXMLDOMAttribute");
    case XML_TEXT_NODE: return QStringLiteral("IXMLDOMText");
    case XML_COMMENT_NODE: return QStringLiteral("IXMLDOMComment");
    case XML_PI_NODE: return QStringLiteral("IXMLDOMProcessingInstruction");
    case XML_CDATA_SECTION_NODE: return QStringLiteral("IXMLDOMCDATASection");
    default: return QStringLiteral("IXMLDOMNode");
    }
}

int Node::memberId(const QString &name)
{
    return nodeMemberId(name);
}

bool Node::invoke(Context &cx, int id, Invoke kind, Args a, Value &result)
{
    if (id == DefaultMember)
        id = m_node->type == XML_ATTRIBUTE_NODE ? Value_ : Text;
    return nodeMember(cx, id, kind & (InvokeLet | InvokeSet), a, result);
}

bool Node::nodeMember(Context &cx, int id, bool assigning, Args a, Value &result)
{
    const bool settable = id == NodeValue || id == Text || id == Value_ || id == Data;
    if (assigning && !settable)
        return cx.raise(err::NoSuchMember);
    // A property takes no arguments: node.attributes(0) reads attributes, then its item 0.
    const bool method = id == GetAttribute || id == SetAttribute || id == RemoveAttribute || id == AppendChild
                        || id == InsertBefore || id == RemoveChild || id == ReplaceChild || id == CloneNode
                        || id == SelectSingleNode || id == SelectNodes || id == GetElementsByTagName
                        || id == GetAttributeNode;
    if (!method && a.count > (assigning ? 1 : 0))
        return cx.raise(err::WrongArgs);
    QString text, other;
    xmlNodePtr n = m_node;
    switch (id) {
    case NodeName:
    case TagName:
    case Name: result = Value::string(qualifiedName(n)); return true;
    case BaseName: result = Value::string(n->type == XML_ELEMENT_NODE || n->type == XML_ATTRIBUTE_NODE ? fromXml(n->name) : QString()); return true;
    case Prefix: result = Value::string(n->ns && n->ns->prefix ? fromXml(n->ns->prefix) : QString()); return true;
    case NamespaceURI: result = Value::string(n->ns ? fromXml(n->ns->href) : QString()); return true;
    case NodeType: result = Value::lng(domType(n)); return true;
    case NodeTypeString: {
        static const char *const names[] = {"", "element", "attribute", "text", "cdatasection", "entityreference", "entity",
                                            "processinginstruction", "comment", "document", "documenttype", "documentfragment"};
        const int t = domType(n);
        result = Value::string(QString::fromLatin1(t >= 0 && t < 12 ? names[t] : ""));
        return true;
    }
    case NodeValue:
    case Value_:
    case Data:
        if (!hasValue(n)) {
            if (assigning)
                return domError(cx, QStringLiteral("This node has no value to set"));
            result = Value::null();
            return true;
        }
        if (assigning) {
            if (!toText(cx, a[a.count - 1], text))
                return false;
            const QByteArray value = toXml(text);
            if (n->type == XML_ATTRIBUTE_NODE) {
                xmlFreeNodeList(n->children);
                n->children = n->last = nullptr;
                xmlNodeAddContent(n, xml(value));
            } else {
                xmlNodeSetContentLen(n, nullptr, 0);
                xmlNodeAddContent(n, xml(value));
            }
            return true;
        }
        result = Value::string(content(n));
        return true;
    case Text:
        if (assigning) {
            if (!toText(cx, a[a.count - 1], text))
                return false;
            const QByteArray value = toXml(text);
            if (n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE) {
                while (xmlNodePtr c = n->children) { // the old children go, kept alive for their objects
                    xmlUnlinkNode(c);
                    m_tree->detached.insert(c);
                }
                xmlAddChild(n, xmlNewDocText(n->doc, xml(value)));
            } else {
                xmlNodeSetContentLen(n, nullptr, 0);
                xmlNodeAddContent(n, xml(value));
            }
            return true;
        }
        result = Value::string(n->type == XML_DOCUMENT_NODE && !xmlDocGetRootElement(n->doc) ? QString() : content(n));
        return true;
    case Xml: result = Value::string(serialized(n)); return true;
    case Attributes:
        result = n->type == XML_ELEMENT_NODE ? Value::object(new AttributeMap(m_tree, n)) : Value::null();
        return true;
    case GetAttribute:
    case GetAttributeNode: {
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        xmlAttrPtr at = n->type == XML_ELEMENT_NODE ? xmlHasProp(n, xml(toXml(text))) : nullptr;
        if (id == GetAttributeNode)
            result = wrap(m_tree, reinterpret_cast<xmlNodePtr>(at));
        else
            result = at ? Value::string(content(reinterpret_cast<xmlNodePtr>(at))) : Value::null();
        return true;
    }
    case SetAttribute:
        if (a.count != 2 || !toText(cx, a[0], text) || !toText(cx, a[1], other))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (n->type != XML_ELEMENT_NODE)
            return cx.raise(err::NoSuchMember);
        xmlSetProp(n, xml(toXml(text)), xml(toXml(other)));
        return true;
    case RemoveAttribute:
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (xmlAttrPtr at = n->type == XML_ELEMENT_NODE ? xmlHasProp(n, xml(toXml(text))) : nullptr) {
            xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(at));
            m_tree->detached.insert(reinterpret_cast<xmlNodePtr>(at));
        }
        return true;
    case ChildNodes: {
        std::vector<xmlNodePtr> kids;
        if (n->type != XML_ATTRIBUTE_NODE)
            for (xmlNodePtr c = n->children; c; c = c->next)
                if (c->type != XML_DTD_NODE)
                    kids.push_back(c);
        result = Value::object(new NodeList(m_tree, std::move(kids)));
        return true;
    }
    case ParentNode: result = wrap(m_tree, n->type == XML_ATTRIBUTE_NODE ? nullptr : n->parent); return true;
    case FirstChild: result = wrap(m_tree, n->type == XML_ATTRIBUTE_NODE ? nullptr : n->children); return true;
    case LastChild: result = wrap(m_tree, n->type == XML_ATTRIBUTE_NODE ? nullptr : n->last); return true;
    case NextSibling: result = wrap(m_tree, n->type == XML_ATTRIBUTE_NODE ? nullptr : n->next); return true;
    case PreviousSibling: result = wrap(m_tree, n->type == XML_ATTRIBUTE_NODE ? nullptr : n->prev); return true;
    case OwnerDocument: result = wrap(m_tree, reinterpret_cast<xmlNodePtr>(n->doc)); return true;
    case HasChildNodes: result = Value::boolean(n->children != nullptr); return true;
    case AppendChild:
    case InsertBefore:
    case ReplaceChild:
    case RemoveChild: {
        if (a.count < 1 || (id != AppendChild && id != RemoveChild && a.count < 2))
            return cx.raise(err::WrongArgs);
        Node *child;
        if (!nodeArg(cx, a[0], m_tree, child))
            return false;
        Value hold = a[0];
        xmlNodePtr c = child->node();
        if (id == RemoveChild) {
            if (c->parent != n)
                return domError(cx, QStringLiteral("The node is not a child of this node"));
            xmlUnlinkNode(c);
            m_tree->detached.insert(c);
            result = hold;
            return true;
        }
        for (xmlNodePtr up = n; up; up = up->parent)
            if (up == c)
                return domError(cx, QStringLiteral("A node cannot be inserted into itself or its descendants"));
        Node *other = nullptr;
        if (id != AppendChild && !a[1].isNull() && !a[1].isEmpty()
            && !(a[1].isObject() && !a[1].asObject()) && !nodeArg(cx, a[1], m_tree, other))
            return false;
        if (id != AppendChild && other && other->node()->parent != n)
            return domError(cx, QStringLiteral("The reference node is not a child of this node"));
        if (c->type == XML_ATTRIBUTE_NODE || c->type == XML_DOCUMENT_NODE)
            return domError(cx, QStringLiteral("This kind of node cannot be a child"));
        if (n->type == XML_DOCUMENT_NODE && c->type == XML_ELEMENT_NODE && xmlDocGetRootElement(n->doc)
            && !(id == ReplaceChild && other && other->node() == xmlDocGetRootElement(n->doc)))
            return domError(cx, QStringLiteral("Only one top level element is allowed in an XML document."));
        xmlUnlinkNode(c);
        if (id == AppendChild || !other) {
            xmlAddChild(n, c);
        } else if (id == InsertBefore) {
            xmlAddPrevSibling(other->node(), c);
        } else {
            xmlReplaceNode(other->node(), c);
            m_tree->detached.insert(other->node());
            result = a[1];
            return true;
        }
        result = hold;
        return true;
    }
    case CloneNode: {
        bool deep = false;
        if (a.count != 1 || !toBool(cx, a[0], deep))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (n->type == XML_DOCUMENT_NODE)
            return domError(cx, QStringLiteral("Cloning a whole document is not available here"));
        xmlNodePtr copy = xmlDocCopyNode(n, n->doc, deep ? 1 : 2);
        m_tree->detached.insert(copy);
        result = wrap(m_tree, copy);
        return true;
    }
    case SelectSingleNode:
    case SelectNodes: {
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        std::vector<xmlNodePtr> found;
        if (!evaluate(cx, this, text, found))
            return false;
        if (id == SelectSingleNode)
            result = wrap(m_tree, found.empty() ? nullptr : found.front());
        else
            result = Value::object(new NodeList(m_tree, std::move(found)));
        return true;
    }
    case GetElementsByTagName: {
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        std::vector<xmlNodePtr> found;
        descendantsNamed(n, text, found);
        result = Value::object(new NodeList(m_tree, std::move(found)));
        return cx.spend(qint64(found.size()) * 16);
    }
    default:
        return cx.raise(err::NoSuchMember);
    }
}

int Document::memberId(const QString &name)
{
    for (int i = 0; i < int(std::size(DocumentMembers)); ++i)
        if (name.compare(QLatin1String(DocumentMembers[i]), Qt::CaseInsensitive) == 0)
            return Load + i;
    return nodeMemberId(name);
}

bool Document::parse(Context &cx, const QByteArray &bytes, const QString &url, Value &result)
{
    if (!cx.spend(bytes.size()))
        return false;
    auto *error = static_cast<ParseError *>(m_parseError.asObject());
    error->reset();
    error->url = url;
    // No network and no entities from outside the text: a document names no file to read.
    int options = XML_PARSE_NONET;
    if (!m_preserveWhiteSpace)
        options |= XML_PARSE_NOBLANKS;
    xmlResetLastError();
    xmlDocPtr doc = xmlReadMemory(bytes.constData(), int(bytes.size()), url.isEmpty() ? nullptr : url.toUtf8().constData(),
                                  nullptr, options | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        const xmlError *e = xmlGetLastError();
        error->code = int32_t(0xC00CE502);
        error->reason = e && e->message ? QString::fromUtf8(e->message).trimmed() : QStringLiteral("The document is not well-formed.");
        error->line = e ? e->line : 0;
        error->column = e ? e->int2 : 0;
        if (error->line > 0)
            error->srcText = QString::fromUtf8(bytes).split(QLatin1Char('\n')).value(error->line - 1).trimmed();
        result = Value::boolean(false);
        fresh(); // a failed load leaves an empty document, as MSXML's does
        return true;
    }
    if (m_node && m_node->_private == this)
        m_node->_private = nullptr;
    m_tree = std::make_shared<Tree>();
    m_tree->doc = doc;
    m_node = reinterpret_cast<xmlNodePtr>(doc);
    m_node->_private = this;
    result = Value::boolean(true);
    return true;
}

bool Document::invoke(Context &cx, int id, Invoke kind, Args a, Value &result)
{
    const bool assigning = kind & (InvokeLet | InvokeSet);
    if (id < Load)
        return Node::invoke(cx, id, kind, a, result);
    const bool property = id == Async || id == PreserveWhiteSpace || id == ValidateOnParse || id == ResolveExternals
                          || id == ReadyState || id == DocumentElement || id == ParseErrorId;
    if (property && a.count > (assigning ? 1 : 0))
        return cx.raise(err::WrongArgs);
    QString text, other;
    switch (id) {
    case Async:
    case PreserveWhiteSpace:
    case ValidateOnParse:
    case ResolveExternals: {
        bool *flag = id == Async ? &m_async : id == PreserveWhiteSpace ? &m_preserveWhiteSpace : nullptr;
        if (!assigning) {
            result = Value::boolean(flag ? *flag : false);
            return true;
        }
        bool value;
        if (!toBool(cx, a[a.count - 1], value))
            return false;
        if (flag)
            *flag = value;
        return true;
    }
    case ReadyState: result = Value::lng(4); return true;
    case Load: {
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        const std::optional<QString> path = winpath::local(text);
        QFile file(path.value_or(QString()));
        if (!path || !file.open(QIODevice::ReadOnly)) {
            auto *error = static_cast<ParseError *>(m_parseError.asObject());
            error->reset();
            error->code = int32_t(0x800C0006);
            error->reason = QStringLiteral("The system cannot locate the object specified.");
            error->url = text;
            result = Value::boolean(false);
            fresh();
            return true;
        }
        return parse(cx, file.readAll(), QFileInfo(file).absoluteFilePath(), result);
    }
    case LoadXML:
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        return parse(cx, toXml(text), QString(), result);
    case Save: {
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        const std::optional<QString> path = winpath::local(text);
        QSaveFile file(path.value_or(QString()));
        const QByteArray bytes = serialized(m_node).toUtf8();
        if (!path || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            return domError(cx, QStringLiteral("The file cannot be saved: %1").arg(text));
        return true;
    }
    case DocumentElement:
        if (assigning) {
            Node *root;
            if (!nodeArg(cx, a[a.count - 1], m_tree, root))
                return false;
            Value hold = a[a.count - 1];
            xmlNodePtr old = xmlDocGetRootElement(m_tree->doc);
            xmlUnlinkNode(root->node());
            xmlDocSetRootElement(m_tree->doc, root->node());
            if (old && old != root->node())
                m_tree->detached.insert(old);
            return true;
        }
        result = wrap(m_tree, xmlDocGetRootElement(m_tree->doc));
        return true;
    case ParseErrorId: result = m_parseError; return true;
    case CreateElement:
    case CreateAttribute:
    case CreateTextNode:
    case CreateComment:
    case CreateCDATASection:
    case CreateProcessingInstruction:
    case CreateNode:
    case CreateDocumentFragment: {
        if (id == CreateDocumentFragment) {
            xmlNodePtr fragment = xmlNewDocFragment(m_tree->doc);
            m_tree->detached.insert(fragment);
            result = wrap(m_tree, fragment);
            return true;
        }
        int32_t nodeType = 0;
        if (id == CreateNode) { // createNode(type, name, namespaceURI)
            if (a.count < 2 || !toLong(cx, a[0], nodeType) || !toText(cx, a[1], text))
                return cx.raiseUnlessPending(err::WrongArgs);
        } else if (a.count < 1 || !toText(cx, a[0], text)) {
            return cx.raiseUnlessPending(err::WrongArgs);
        }
        if (id == CreateProcessingInstruction && (a.count != 2 || !toText(cx, a[1], other)))
            return cx.raiseUnlessPending(err::WrongArgs);
        const QByteArray name = toXml(text), data = toXml(other);
        xmlNodePtr made = nullptr;
        if (id == CreateElement || (id == CreateNode && nodeType == 1)) {
            if (xmlValidateName(xml(name), 0) != 0)
                return domError(cx, QStringLiteral("This name may not contain the character used: %1").arg(text));
            made = xmlNewDocNode(m_tree->doc, nullptr, xml(name), nullptr);
        } else if (id == CreateAttribute || (id == CreateNode && nodeType == 2)) {
            made = reinterpret_cast<xmlNodePtr>(xmlNewDocProp(m_tree->doc, xml(name), nullptr));
        } else if (id == CreateTextNode || (id == CreateNode && nodeType == 3)) {
            made = xmlNewDocText(m_tree->doc, xml(name));
        } else if (id == CreateComment || (id == CreateNode && nodeType == 8)) {
            made = xmlNewDocComment(m_tree->doc, xml(name));
        } else if (id == CreateCDATASection) {
            made = xmlNewCDataBlock(m_tree->doc, xml(name), int(name.size()));
        } else if (id == CreateProcessingInstruction) {
            made = xmlNewDocPI(m_tree->doc, xml(name), xml(data));
        } else {
            return domError(cx, QStringLiteral("This node type cannot be created here"));
        }
        if (!made)
            return cx.raise(err::OutOfMemory);
        m_tree->detached.insert(made);
        result = wrap(m_tree, made);
        return true;
    }
    case SetProperty:
        if (a.count != 2 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (text.compare(QLatin1String("SelectionNamespaces"), Qt::CaseInsensitive) == 0)
            return toText(cx, a[1], m_namespaces);
        if (text.compare(QLatin1String("SelectionLanguage"), Qt::CaseInsensitive) == 0)
            return toText(cx, a[1], other); // XPath always: the simple XSL patterns read the same
        return true; // ProhibitDTD, ServerHTTPRequest, ...: nothing to do here
    case GetProperty:
        if (a.count != 1 || !toText(cx, a[0], text))
            return cx.raiseUnlessPending(err::WrongArgs);
        if (text.compare(QLatin1String("SelectionNamespaces"), Qt::CaseInsensitive) == 0)
            result = Value::string(m_namespaces);
        else if (text.compare(QLatin1String("SelectionLanguage"), Qt::CaseInsensitive) == 0)
            result = Value::string(QStringLiteral("XPath"));
        return true;
    default:
        return cx.raise(err::NoSuchMember);
    }
}

Object *newDocument()
{
    return new Document;
}

} // namespace winenv
