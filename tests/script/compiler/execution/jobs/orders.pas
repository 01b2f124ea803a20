program Orders;
{ Parses order lines "article;quantity;price" the way an operator's conversion script does,
  totals them, classifies them with case and reports bad lines through try/except. }
type
  TLine = record
    Article: string;
    Qty: Integer;
    Price: Double;
  end;
  TLines = array of TLine;

var
  raw: array[0..5] of string;
  lines: TLines;
  count, i, bad: Integer;
  total: Double;
  log: string;

function NextField(var s: string): string;
var
  p: Integer;
begin
  p := Pos(';', s);
  if p = 0 then
  begin
    Result := Trim(s);
    s := '';
  end
  else
  begin
    Result := Trim(Copy(s, 1, p - 1));
    Delete(s, 1, p);
  end;
end;

function ParseLine(s: string; var line: TLine): Boolean;
begin
  Result := False;
  line.Article := NextField(s);
  if line.Article = '' then Exit;
  line.Qty := StrToInt64(NextField(s));
  line.Price := StrToFloat(NextField(s));
  Result := True;
end;

function Classify(q: Integer): string;
begin
  case q of
    0: Result := 'none';
    1..9: Result := 'few';
    10, 20, 30: Result := 'round';
  else
    Result := 'many';
  end;
end;

procedure AddLog(const what: string);
begin
  if log <> '' then log := log + ', ';
  log := log + what;
end;

begin
  raw[0] := 'A100; 2; 10.5';
  raw[1] := 'B200;20;1.25';
  raw[2] := ';5;1';
  raw[3] := 'C300;x;2';
  raw[4] := 'D400;45;0.5';
  raw[5] := 'E500;0;99';
  SetLength(lines, 6);
  count := 0;
  bad := 0;
  for i := 0 to 5 do
  begin
    try
      if ParseLine(raw[i], lines[count]) then
        count := count + 1
      else
        AddLog('empty ' + IntToStr(i));
    except
      bad := bad + 1;
      AddLog('bad ' + IntToStr(i) + ': ' + ExceptionParam);
    end;
  end;
  SetLength(lines, count);
  total := 0;
  i := 0;
  while i < Length(lines) do
  begin
    total := total + lines[i].Qty * lines[i].Price;
    Print(lines[i].Article + ' ' + Classify(lines[i].Qty) + ' ' + FloatToStr(lines[i].Qty * lines[i].Price));
    i := i + 1;
  end;
  Print('lines ' + IntToStr(count) + ', bad ' + IntToStr(bad) + ', total ' + FloatToStr(total));
  Print(log);
  try
    try
      Print('before');
      RaiseException(erCustomError, 'stop here');
      Print('not reached');
    finally
      Print('cleanup');
    end;
  except
    Print('handled: ' + ExceptionParam);
  end;
end.
