#include "import/tid_customers.h"

#include <algorithm>

#include "import/key_helper_dm.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {

inline constexpr std::string_view kByOrganisationNumber =
    "select * from customer where RTrim( Replace(Customer.OrganisationNo,'-','')) = :paramDashlessOrgnr";
inline constexpr std::string_view kByCustomerNumber =
    "select * from customer where CustomerNo = :paramCustomerNo";
inline constexpr std::string_view kSetName =
    "update customer set CustomerName = :CustomerName where CustomerId = :CustomerId";
inline constexpr std::string_view kAdd =
    "insert into customer (CustomerId, CustomerNo, ProgramUserId, CustomerName, OrganisationNo) "
    "values (:CustomerId, :CustomerNo, :ProgramUserId, :CustomerName, :OrganisationNo)";
inline constexpr std::string_view kFoundCustomerGone =
    "Visma Tid-kunden %s fanns inte när namnet skulle ändras";

std::string WithoutDashes(std::string_view text) {
    std::string result(text);
    std::erase(result, '-');
    return result;
}

}  // namespace

TTidCustomers::TTidCustomers(TADOQuery& TidKunder, TADOConnection& connection)
    : TidKunder_(TidKunder), connection_(connection) {}

bool TTidCustomers::FindCustomerInVismaTid(std::string_view organisationNumber) {
    return Find(kByOrganisationNumber, "paramDashlessOrgnr", WithoutDashes(organisationNumber));
}

bool TTidCustomers::FindCustomerByNumber(std::string_view customerNo) {
    return Find(kByCustomerNumber, "paramCustomerNo", customerNo);
}

bool TTidCustomers::Find(std::string_view statement, std::string_view parameter, std::string_view value) {
    TidKunder_.Close();
    TidKunder_.SQL().SetText(statement);
    TidKunder_.Parameters().ParamByName(parameter).SetValue(Variant::FromUtf8(value));
    try {
        TidKunder_.Open();
    } catch (const std::exception& e) {
        throw EImportError(Format(kTidSqlError, {e.what()}));
    }
    return !TidKunder_.Eof();
}

void TTidCustomers::SetFoundCustomerName(std::string_view name) {
    const Variant id = TidKunder_.FieldByName("CustomerId").Value();
    TADOCommand command;
    command.SetConnection(&connection_);
    command.SetCommandText(std::string(kSetName));
    command.Parameters().ParamByName("CustomerName").SetValue(Variant::FromUtf8(name));
    command.Parameters().ParamByName("CustomerId").SetValue(id);
    // A customer without an id cannot be told from the others: its name is never changed unseen.
    if (command.Execute() == 0)
        throw EImportError(Format(kFoundCustomerGone, {TidKunder_.FieldByName("CustomerId").AsString()}));
}

void TTidCustomers::AddCustomer(const TTidCustomer& customer) {
    TADOCommand command;
    command.SetConnection(&connection_);
    command.SetCommandText(std::string(kAdd));
    TParameters& parameters = command.Parameters();
    parameters.ParamByName("CustomerId").SetValue(Variant(int32_t(customer.CustomerId)));
    parameters.ParamByName("CustomerNo").SetValue(Variant::FromUtf8(customer.CustomerNo));
    parameters.ParamByName("ProgramUserId").SetValue(Variant(int32_t(customer.ProgramUserId)));
    parameters.ParamByName("CustomerName").SetValue(Variant::FromUtf8(customer.CustomerName));
    parameters.ParamByName("OrganisationNo").SetValue(Variant::FromUtf8(customer.OrganisationNo));
    command.Execute();
}

}  // namespace tv
