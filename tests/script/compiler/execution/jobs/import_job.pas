program ImportJob;
{ An operator's import job over the files an earlier step listed: each file is loaded, checked and
  imported, then archived as processed or failed; a failing import is noted and the next file
  follows; the operator's stop request ends the loop; the job is finalized whatever happens. }
var
  files: array of string;
  i, done, failed: Integer;
  fileName: string;

procedure AddFile(const name: string);
begin
  SetLength(files, Length(files) + 1);
  files[High(files)] := name;
end;

function ImportOne(const name: string): Boolean;
begin
  Result := LoadXML(name) and CheckCustomers() and ImportCustomers();
end;

begin
  InitiateImport();
  AddFile('kund1.xml');
  AddFile('trasig.xml');
  AddFile('undantag.xml');
  AddFile('stopp.xml');
  AddFile('aldrig.xml');
  done := 0;
  failed := 0;
  try
    for i := 0 to High(files) do
    begin
      if GetCancelling() then
        break;
      fileName := files[i];
      GFXSetFileName(fileName);
      try
        if ImportOne(fileName) then
        begin
          ArchiveCompleteFile(fileName, '', 1, True);
          done := done + 1;
        end
        else
        begin
          ArchiveFailedFile(fileName, '', 1);
          failed := failed + 1;
        end;
      except
        AddImportedItem('Fel i ' + fileName + ': ' + ExceptionParam);
        ArchiveFailedFile(fileName, 'fel', 1);
        failed := failed + 1;
      end;
      if Pos('stopp', fileName) > 0 then
        SetCancelling(True);
      GFXCloseSection();
    end;
  finally
    FinalizeImport();
  end;
  Print('imported ' + IntToStr(done) + ', failed ' + IntToStr(failed) + ' of ' + IntToStr(Length(files)));
end.
