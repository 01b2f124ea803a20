#pragma once
// The rows of one invoice whose values the business system recalculates when the invoice is saved:
// each remembered with the record number it had in the rows dataset when it was saved and its row
// element in the loaded document, so that the second pass can find the row again and write the
// value once more. The items point into the document without owning it: freeing the list frees no
// node.

#include <vector>

namespace tv {

class TXMLNode;

class TUpdateHelperItem {
public:
    TUpdateHelperItem(int rowNr, const TXMLNode* xmlNode) : FRowNr(rowNr), FXmlNode(xmlNode) {}

    int RowNr() const { return FRowNr; }
    const TXMLNode& XmlNode() const { return *FXmlNode; }

private:
    int FRowNr;
    const TXMLNode* FXmlNode;  // the document's, not ours
};

class TUpdateHelper {
public:
    void Add(int rowNr, const TXMLNode& xmlNode) { objects.push_back({rowNr, &xmlNode}); }
    const TUpdateHelperItem& GetItem(int index) const { return objects.at(static_cast<size_t>(index)); }
    int GetCount() const { return static_cast<int>(objects.size()); }
    void Clear() { objects.clear(); }

private:
    std::vector<TUpdateHelperItem> objects;
};

}  // namespace tv
