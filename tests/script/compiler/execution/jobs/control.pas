program Control;
{ Loops left early with break, continue and exit through finally parts, for loops at a type's
  limit, characters and text built with Chr and Ord, with, Int64 and integer division. }
type
  TStat = record
    Count: Integer;
    Last: string;
  end;
  TDigits = set of Char;

var
  st: TStat;
  i, j, n: Integer;
  b: Byte;
  s, t: string;
  c: Char;
  log: string;
  big: Int64;

procedure Note(const what: string);
begin
  log := log + what + ' ';
end;

procedure Bump(var s: TStat; const what: string);
begin
  s.Count := s.Count + 1;
  s.Last := what;
end;

function FirstDigit(const s: string): Integer;
var
  k: Integer;
begin
  Result := 0;
  for k := 1 to Length(s) do
    if (s[k] >= '0') and (s[k] <= '9') then
    begin
      Result := k;
      Exit;
    end;
end;

function Guarded(n: Integer): string;
begin
  Result := 'start';
  try
    if n < 0 then Exit;
    Result := Result + '+' + IntToStr(n);
  finally
    Note('fin' + IntToStr(n));
  end;
  Result := Result + '.';
end;

function Reverse(const s: string): string;
var
  k: Integer;
begin
  Result := '';
  for k := Length(s) downto 1 do
    Result := Result + s[k];
end;

begin
  log := '';
  st.Count := 0;
  for i := 1 to 10 do
  begin
    try
      if i mod 3 = 0 then continue;
      if i = 8 then break;
      Bump(st, 'item' + IntToStr(i));
    finally
      Note(IntToStr(i));
    end;
  end;
  Print(IntToStr(st.Count) + ' ' + st.Last);
  Print(log);
  log := '';
  Print(Guarded(-1) + ' ' + Guarded(4));
  Print(log);
  n := 0;
  for b := 250 to 255 do n := n + 1;
  Print('byte loop ' + IntToStr(n) + ' ends at ' + IntToStr(b));
  n := 0;
  for b := 3 downto 0 do n := n + b;
  Print('downto ' + IntToStr(n));
  s := 'abc123def';
  Print('first digit at ' + IntToStr(FirstDigit(s)) + ', reversed ' + Reverse(s));
  c := s[4];
  if c in ['0', '1', '2', '3'] then Print('digit');
  if c > 'A' then Print('after A');
  t := '';
  j := 0;
  repeat
    j := j + 1;
    if j = 2 then continue;
    t := t + Chr(Ord('a') + j);
  until j >= 5;
  Print(t);
  with st do
  begin
    Count := Count * 10;
    Last := UpperCase(Last);
  end;
  Print(IntToStr(st.Count) + ' ' + st.Last);
  big := 2147483647;
  big := big * 4 + 3;
  Print(IntToStr(big) + ' ' + IntToStr(big div 7) + ' ' + IntToStr(big mod 7));
  Print(IntToStr(-17 div 5) + ' ' + IntToStr(-17 mod 5) + ' ' + IntToStr(17 / 5));
end.
