' MSXML2.DOMDocument: load, XPath with namespaces, changes, save and load back, parseError.
Set fso = CreateObject("Scripting.FileSystemObject")
Set f = fso.CreateTextFile("catalog.xml", True)
f.Write "<?xml version=""1.0""?>" & vbCrLf & "<c:catalog xmlns:c=""urn:books"">" & _
        "<c:book id=""b1""><c:title>VBScript</c:title><c:price>10</c:price></c:book>" & _
        "<c:book id=""b2""><c:title>Lua</c:title><c:price>20</c:price></c:book></c:catalog>"
f.Close
Set doc = CreateObject("MSXML2.DOMDocument.6.0")
doc.async = False
WScript.Echo doc.load("catalog.xml") & " " & doc.documentElement.nodeName ' expect: True c:catalog
doc.setProperty "SelectionLanguage", "XPath"
doc.setProperty "SelectionNamespaces", "xmlns:b='urn:books'"
Set cheap = doc.selectSingleNode("//b:book[b:price < 15]")
WScript.Echo cheap.getAttribute("id") & " " & cheap.selectSingleNode("b:title").text ' expect: b1 VBScript
WScript.Echo doc.selectNodes("//b:book").length & " " & IsNull(cheap.getAttribute("none")) ' expect: 2 True
' Edit through XPath: raise every price, add a book, drop the first.
For Each p In doc.selectNodes("//b:price")
    p.text = CInt(p.text) * 2
Next
Set book = doc.createElement("note")
book.setAttribute "lang", "en"
book.appendChild doc.createTextNode("cheap & good")
doc.documentElement.appendChild book
doc.documentElement.removeChild cheap
doc.save "edited.xml"
Set again = CreateObject("Microsoft.XMLDOM")
again.async = False
WScript.Echo again.load("edited.xml") ' expect: -1
again.setProperty "SelectionNamespaces", "xmlns:b='urn:books'"
WScript.Echo again.selectSingleNode("//b:price").text & " " & again.selectNodes("//b:book").length ' expect: 40 1
WScript.Echo again.documentElement.lastChild.xml ' expect: <note lang="en">cheap &amp; good</note>
Set kids = again.documentElement.childNodes
WScript.Echo kids.length & " " & kids(0).nodeName & " " & kids.item(1).nodeType ' expect: 2 c:book 1
WScript.Echo again.documentElement.firstChild.attributes.length & " " & again.documentElement.firstChild.attributes(0).value ' expect: 1 b2
WScript.Echo again.documentElement.childNodes(1).getAttribute("lang") ' expect: en
' A document that is not well-formed: load gives False and says why.
WScript.Echo doc.loadXML("<a><b></a>") & " " & (doc.parseError.errorCode <> 0) & " " & doc.parseError.line ' expect: False True 1
WScript.Echo doc.documentElement Is Nothing ' expect: -1
