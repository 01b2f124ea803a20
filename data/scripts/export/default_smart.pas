{ default_smart.pas: the job of the business system's integration menu,
    tollvane /ftg <company> /register <register> /id <record> /runscript export\default_smart.pas
  Exports the one record the menu was opened on. A register is the kit's table number of that
  register:
     0  customers           ExportCustomersFromList
     1  articles            ExportArticlesFromList
     2  orders              ExportOrdersFromList
     4  offers              ExportOffersFromList
     6  invoices            ExportInvoicesFromList
     8  supplier invoices   ExportSupplierInvoicesFromList
    32  purchase orders     ExportBestFromList
  Suppliers (12) have no export from a list, so a supplier's menu exports nothing, as does a
  register not in this table. The files are named by each kind's export settings. }
program DefaultSmart;

{ Exports the record the command line names when it names one of this register. }
procedure ExportSelected(register: Integer);
var
  selection: TStringList;
begin
  selection := getCommandLineSelection(register);
  try
    if selection.Count > 0 then
      case register of
        0: ExportCustomersFromList(selection);
        1: ExportArticlesFromList(selection);
        2: ExportOrdersFromList(selection);
        4: ExportOffersFromList(selection);
        6: ExportInvoicesFromList(selection);
        8: ExportSupplierInvoicesFromList(selection);
        32: ExportBestFromList(selection);
      end;
  finally
    selection.Free;
  end;
end;

begin
  try
    InitiateExport();
    ExportSelected(0);
    ExportSelected(1);
    ExportSelected(2);
    ExportSelected(4);
    ExportSelected(6);
    ExportSelected(8);
    ExportSelected(32);
  finally
    FinalizeExport();
  end;
end.
