{ default_import.pas: the job of "tollvane /import" and of the Import button.
  Connects to the company, then takes every XML file waiting in the import work folder's
  "obehandlade" in name order and, for each file:
    1. loads it;
    2. checks every kind it may carry, a referenced kind before the kinds that refer to it
       (customers, suppliers and articles first, invoices before the payments that name them),
       so that every problem of the file is reported in one run;
    3. when every check passed, imports the kinds in the order they depend on one another; an
       import that fails stops the imports after it;
    4. archives the file into "behandlade" when every step succeeded, else into "felaktiga".
  An error a step raises fails that file only; the job goes on with the next. Stops between files
  when the operator cancels. The connection is closed whatever happens.
  Left to jobs that ask for them: the customers of the time-reporting system (TID_CheckCustomers,
  TID_ImportCustomers) and the order reconciliation (CustomImportOrderAvstamning).
  The side flag 1 names the import side's work folders. }
program DefaultImport;

var
  files: TStringList;
  i: Integer;
  fileName: string;
  ok: Boolean;

{ Every check runs, also after one has failed; the result is true when all passed. }
function CheckFile(): Boolean;
var
  ok: Boolean;
begin
  ok := CheckCustomers();
  ok := CheckSuppliers() and ok;
  ok := CheckArticles() and ok;
  ok := CheckContacts() and ok;
  ok := CheckProjects() and ok;
  ok := CheckPurchasePrices() and ok;
  ok := CheckSalesPrices() and ok;
  ok := CheckOrders() and ok;
  ok := CheckOffers() and ok;
  ok := CheckInvoices() and ok;
  ok := CheckAgreements() and ok;
  ok := CheckCustomerPayments() and ok;
  ok := CheckBest() and ok;
  ok := CheckSupplierInvoices() and ok;
  ok := CheckDeliveryNotes() and ok;
  ok := CheckManualDeliveryIn() and ok;
  ok := CheckManualDeliveryOut() and ok;
  Result := ok;
end;

{ The imports in dependency order: registers, then prices, then the documents that refer to
  them. The first that fails ends the file's imports. }
function ImportFile(): Boolean;
var
  ok: Boolean;
begin
  ok := ImportCustomers();
  if ok then ok := ImportSuppliers();
  if ok then ok := ImportArticles();
  if ok then ok := ImportAuxillary();
  if ok then ok := ImportContacts();
  if ok then ok := ImportProjects();
  if ok then ok := ImportPurchasePrices();
  if ok then ok := ImportSalesPrices();
  if ok then ok := ImportOrders();
  if ok then ok := ImportOffers();
  if ok then ok := ImportInvoices();
  if ok then ok := ImportAgreements();
  if ok then ok := ImportCustomerPayments();
  if ok then ok := ImportBest();
  if ok then ok := ImportSupplierInvoices();
  if ok then ok := ImportDeliveryNotes();
  if ok then ok := ImportManualDeliveryIn();
  if ok then ok := ImportManualDeliveryOut();
  Result := ok;
end;

begin
  files := TStringList.Create;
  try
    InitiateImport();
    FindFiles('*.xml', files, 1, '');
    for i := 0 to files.Count - 1 do
    begin
      if GetCancelling() then
        Break;
      fileName := files[i];
      GFXSetFileName(fileName);
      try
        ok := LoadXML(fileName);
        if ok then ok := CheckFile();
        if ok then ok := ImportFile();
      except
        GFXSetFileName('Fel: ' + ExceptionParam);
        GFXCloseSection();
        ok := False;
      end;
      if ok then
        ArchiveCompleteFile(fileName, '', 1, True)
      else
        ArchiveFailedFile(fileName, '', 1);
      GFXCloseSection();
    end;
  finally
    files.Free;
    FinalizeImport();
  end;
end.
