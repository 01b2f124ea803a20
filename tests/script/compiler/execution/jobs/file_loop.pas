program FileLoop;
{ Walks a list of file names, splits each into name and extension, counts kinds and
  builds archive names, as an import job does before archiving. }
type
  TFileInfo = record
    Name: string;
    Ext: string;
    Size: Integer;
  end;

var
  files: array of TFileInfo;
  names: array[1..5] of string;
  i, xmlCount, otherCount: Integer;
  summary: string;

function ExtOf(const fileName: string): string;
var
  p: Integer;
  rest: string;
begin
  Result := '';
  rest := fileName;
  p := Pos('.', rest);
  while p > 0 do
  begin
    Delete(rest, 1, p);
    p := Pos('.', rest);
    Result := rest;
  end;
  Result := LowerCase(Result);
end;

function BaseOf(const fileName: string): string;
var
  ext: string;
begin
  ext := ExtOf(fileName);
  if ext = '' then
    Result := fileName
  else
    Result := Copy(fileName, 1, Length(fileName) - Length(ext) - 1);
end;

procedure CountKind(const info: TFileInfo; var xmls, others: Integer);
begin
  if info.Ext = 'xml' then
    Inc(xmls)
  else
    others := others + 1;
end;

function ArchiveName(const info: TFileInfo; n: Integer): string;
begin
  Result := 'behandlade/' + UpperCase(info.Name) + '_' + PadZ(IntToStr(n), 3) + '.' + info.Ext;
end;

begin
  names[1] := 'order1.xml';
  names[2] := 'Kund.XML';
  names[3] := 'readme';
  names[4] := 'a.b.c.txt';
  names[5] := 'prices.2024.xml';
  SetLength(files, 5);
  for i := 1 to 5 do
  begin
    files[i - 1].Name := BaseOf(names[i]);
    files[i - 1].Ext := ExtOf(names[i]);
    files[i - 1].Size := Length(names[i]) * 100;
  end;
  xmlCount := 0;
  otherCount := 0;
  for i := 0 to Length(files) - 1 do
  begin
    CountKind(files[i], xmlCount, otherCount);
    Print(IntToStr(i) + ': [' + files[i].Name + '] [' + files[i].Ext + '] ' + IntToStr(files[i].Size));
  end;
  Print('xml ' + IntToStr(xmlCount) + ', other ' + IntToStr(otherCount));
  summary := '';
  for i := High(files) downto 0 do
    if files[i].Ext = 'xml' then
      summary := summary + ArchiveName(files[i], i + 1) + ';';
  Print(summary);
end.
