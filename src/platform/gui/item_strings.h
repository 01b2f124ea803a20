#pragma once
// The live item list of a combo box or list box (for the library's sources): a TStrings that reads
// and writes the widget's items, so that what is added through Items shows at once and what the
// widget holds is what Items reads. A sorted list puts each added line at its place.

#include <QString>
#include <memory>

#include "platform/rtl/string_list.h"

namespace tv {

class TItemStrings : public TStrings {
public:
    // What the widget offers.
    class TItems {
    public:
        virtual ~TItems() = default;
        virtual int Count() const = 0;
        virtual QString Text(int i) const = 0;
        virtual void SetText(int i, const QString& text) = 0;
        virtual TObject* Object(int i) const = 0;
        virtual void SetObject(int i, TObject* object) = 0;
        virtual void Insert(int i, const QString& text) = 0;
        virtual void Remove(int i) = 0;
        virtual void Clear() = 0;
        virtual void SetUpdating(bool updating) = 0;
    };

    explicit TItemStrings(std::unique_ptr<TItems> items) : fItems(std::move(items)) {}

    bool Sorted() const { return fSorted; }
    // Turning sorting on sorts the items there are.
    void SetSorted(bool value);

    int Add(std::string_view s) override;
    void Clear() override { fItems->Clear(); }
    void Delete(int index) override;
    void Insert(int index, std::string_view s) override;

protected:
    std::string Get(int index) const override;
    int GetCount() const override { return fItems->Count(); }
    TObject* GetObject(int index) const override;
    void Put(int index, std::string_view s) override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override { fItems->SetUpdating(updating); }

private:
    void CheckIndex(int index, int max) const;
    std::unique_ptr<TItems> fItems;
    bool fSorted = false;
};

}  // namespace tv
