{ default_import.pas: the job of "tollvane /import" and of the Import button.
  Connects to the company, then takes every XML file waiting in the import work folder's
  "obehandlade" in name order: loads it, checks and imports its customers, then its suppliers,
  and archives it into "behandlade" when every step succeeded, else into "felaktiga". An error a
  step raises fails that file only; the job goes on with the next. Stops between files when the
  operator cancels. The connection is closed whatever happens. }
program DefaultImport;

var
  files: TStringList;
  i: Integer;
  fileName: string;
  ok: Boolean;

begin
  files := TStringList.Create;
  try
    InitiateImport();
    { 1: the import side's work folders. FLAG_IMPORT reads 0, the export side. }
    FindFiles('*.xml', files, 1, '');
    for i := 0 to files.Count - 1 do
    begin
      if GetCancelling() then
        Break;
      fileName := files[i];
      GFXSetFileName(fileName);
      try
        ok := LoadXML(fileName);
        if ok then ok := CheckCustomers();
        if ok then ok := ImportCustomers();
        if ok then ok := CheckSuppliers();
        if ok then ok := ImportSuppliers();
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
