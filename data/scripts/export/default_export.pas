{ default_export.pas: the job of "tollvane /export" and of the Export button.
  Connects to the company, writes the customers and then the suppliers that their export
  settings select into files in the export work folder's "obehandlade", and closes the
  connection whatever happens. An export reports its own errors into the event tree. }
program DefaultExport;

begin
  try
    InitiateExport();
    ExportCustomers();
    ExportSuppliers();
  finally
    FinalizeExport();
  end;
end.
