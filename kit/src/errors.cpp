#include "errors.h"

#include "catalogue.h"

namespace tv::kit {

AdkErrorRec Error(int32_t code, int32_t function, int32_t table, int32_t field) {
    return AdkErrorRec{code, code == ADK_OK ? ADK_NO_TABLE : table, code == ADK_OK ? ADK_NO_FIELD : field,
                       function, 0};
}

std::string ErrorMessage(int32_t code) {
    struct Text {
        int32_t code;
        const char* text;
    };
    // Texts carry no full stop of their own: the binder's message format ends with one.
    static constexpr Text kTexts[] = {
        {ADK_OK, ""},
        {ADK_ERR_COMPANY_NEWER, "Företagets databas är nyare än Adk"},
        {ADK_ERR_COMPANY_OLDER, "Företagets databas är äldre än Adk"},
        {ADK_ERR_BEGIN_OF_TABLE, "Början av tabellen"},
        {ADK_ERR_END_OF_TABLE, "Slutet av tabellen"},
        {ADK_ERR_NO_VALUE, "Fältet saknar värde"},
        {ADK_ERR_NOT_FOUND, "Posten hittades inte"},
        {ADK_ERR_NO_COMPANY, "Företaget hittades inte"},
        {ADK_ERR_RECORD_MISSING, "Posten finns inte i registret"},
        {ADK_ERR_UNNAMED_FIELD, "Fältet saknar namn"},
        {ADK_ERR_NOT_A_DATE, "Ogiltigt datum"},
        {ADK_ERR_DUPLICATE_KEY, "Posten finns redan"},
        {ADK_ERR_INVALID_NUMBER, "Ogiltigt tabell- eller fältnummer"},
        {ADK_ERR_WRONG_TYPE, "Fel fälttyp för anropet"},
        {ADK_ERR_VALUE_REFUSED, "Värdet kan inte sparas i fältet"},
        {ADK_ERR_BAD_HANDLE, "Ogiltig struktur"},
        {ADK_ERR_ROW_INDEX, "Raden finns inte"},
        {ADK_ERR_NOT_OPEN, "Inget företag är öppnat"},
        {ADK_ERR_SORT_ORDER, "Sorteringsordningen gäller inte tabellen"},
        {ADK_ERR_LOGIN, "Fel användare eller lösenord"},
        {ADK_ERR_KEY_MISSING, "Nyckelfälten saknar värde"},
        {ADK_ERR_STORAGE, "Fel i företagets databas"},
        {ADK_ERR_ALREADY_OPEN, "Ett företag är redan öppnat"},
        {ADK_ERR_BUFFER, "Bufferten saknas"},
        {ADK_ERR_NOT_SUPPORTED, "Funktionen stöds inte"},
        {ADK_ERR_HELD_WRITES_LOST, "Väntande skrivningar har gått förlorade"},
    };
    for (const Text& t : kTexts)
        if (t.code == code) return t.text;
    return "Okänt fel " + std::to_string(code);
}

std::string TableFileName(int32_t table) {
    const TableDef* t = FindTable(table);
    return t ? std::string(t->sqlName) + ".tbl" : std::string();
}

}  // namespace tv::kit
