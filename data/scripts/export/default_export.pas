{ default_export.pas: the job of "tollvane /export" and of the Export button.
  Connects to the company and writes, kind by kind, the records that each kind's export settings
  select (all of them, or the rows of the kind's selection SQL) into files named by the kind's
  file-name template in the export work folder's "obehandlade": customers, suppliers, articles,
  contacts, price lists, orders, offers, invoices (from the stored start value on), purchase
  orders and supplier invoices. An export reports its own errors into the event tree and the job
  goes on with the next kind. The connection is closed whatever happens.
  The chart of accounts is left to jobs that name its year (ExportAccountPlan). }
program DefaultExport;

begin
  try
    InitiateExport();
    ExportCustomers();
    ExportSuppliers();
    ExportArticles();
    ExportContacts();
    ExportPricelists();
    ExportOrders();
    ExportOffers();
    ExportInvoices();
    ExportBest();
    ExportSupplierInvoices();
  finally
    FinalizeExport();
  end;
end.
