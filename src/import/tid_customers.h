#pragma once
// The customer table of the time-reporting database as the time-reporting customer import reads
// and writes it: a customer is found by its organisation number (without dashes, the stored one
// also without trailing blanks) or by its business-system number, its name is changed, or a new
// customer is added. The query over the table (the central data module's TidKunder) holds a
// read-only copy of the rows it found, so changes are statements of their own over the named
// columns, on the same connection.

#include <string>
#include <string_view>

namespace tv {

class TADOConnection;
class TADOQuery;

inline constexpr std::string_view kTidSqlError = "TidKunder:: SQL Error: %s";

// A new customer of the time-reporting database.
struct TTidCustomer {
    int CustomerId = 0;
    std::string CustomerNo;
    std::string CustomerName;
    std::string OrganisationNo;
    int ProgramUserId = 0;
};

class TTidCustomers {
public:
    TTidCustomers(TADOQuery& TidKunder, TADOConnection& connection);

    // True when a customer's organisation number, without dashes and trailing blanks, equals
    // `organisationNumber` without dashes; TidKunder stays open on the first such customer. A
    // failing statement raises "TidKunder:: SQL Error: " with its message.
    bool FindCustomerInVismaTid(std::string_view organisationNumber);
    // The same, for the customer that carries the business-system customer number.
    bool FindCustomerByNumber(std::string_view customerNo);
    // Gives the customer TidKunder stands on the name.
    void SetFoundCustomerName(std::string_view name);
    void AddCustomer(const TTidCustomer& customer);

private:
    bool Find(std::string_view statement, std::string_view parameter, std::string_view value);

    TADOQuery& TidKunder_;
    TADOConnection& connection_;
};

}  // namespace tv
