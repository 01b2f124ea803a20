program ExportReport;
{ Builds a fixed-width report of customers and their orders, as an export job's log does:
  functions returning strings, records holding arrays, padding, case on a text, while/repeat
  scanning with Pos, var parameters and Currency sums. }
type
  TOrder = record
    No: Integer;
    Amount: Currency;
  end;
  TCustomer = record
    Code: string;
    Name: string;
    Kind: Char;
    Orders: array of TOrder;
  end;

var
  customers: array of TCustomer;
  i, j, lines: Integer;
  grand: Currency;
  text, word: string;

procedure AddCustomer(const code, name: string; kind: Char);
var
  n: Integer;
begin
  n := Length(customers);
  SetLength(customers, n + 1);
  customers[n].Code := code;
  customers[n].Name := name;
  customers[n].Kind := kind;
end;

procedure AddOrder(var c: TCustomer; no: Integer; amount: Currency);
var
  n: Integer;
begin
  n := Length(c.Orders);
  SetLength(c.Orders, n + 1);
  c.Orders[n].No := no;
  c.Orders[n].Amount := amount;
end;

function KindName(k: Char): string;
begin
  case k of
    'F': Result := 'company';
    'P': Result := 'private';
  else
    Result := 'other(' + k + ')';
  end;
end;

function Column(const s: string; width: Integer): string;
begin
  if Length(s) > width then
    Result := Copy(s, 1, width - 1) + '~'
  else
    Result := PadR(s, width);
end;

function Total(const c: TCustomer): Currency;
var
  k: Integer;
begin
  Result := 0;
  for k := 0 to High(c.Orders) do
    Result := Result + c.Orders[k].Amount;
end;

function NextWord(var s: string; var w: string): Boolean;
var
  p: Integer;
begin
  s := Trim(s);
  Result := s <> '';
  if not Result then Exit;
  p := Pos(' ', s);
  if p = 0 then p := Length(s) + 1;
  w := Copy(s, 1, p - 1);
  Delete(s, 1, p);
end;

begin
  AddCustomer('K1', 'Andersson Bygg AB', 'F');
  AddCustomer('K22', 'Eva Berg', 'P');
  AddCustomer('K333', 'Ostron', 'X');
  AddOrder(customers[0], 1001, 1500.50);
  AddOrder(customers[0], 1002, 99.95);
  AddOrder(customers[1], 2001, 20);
  grand := 0;
  lines := 0;
  for i := 0 to High(customers) do
  begin
    Print(Column(customers[i].Code, 5) + '|' + Column(customers[i].Name, 12) + '|' +
          PadL(KindName(customers[i].Kind), 10) + '|' + PadL(IntToStr(Length(customers[i].Orders)), 2));
    for j := 0 to High(customers[i].Orders) do
    begin
      Print('  #' + IntToStr(customers[i].Orders[j].No) + ' ' + FloatToStr(customers[i].Orders[j].Amount));
      lines := lines + 1;
    end;
    grand := grand + Total(customers[i]);
  end;
  Print('orders ' + IntToStr(lines) + ', total ' + FloatToStr(grand));
  text := '  export   of   customers ';
  j := 0;
  while NextWord(text, word) do
  begin
    j := j + 1;
    Print(IntToStr(j) + ':' + UpperCase(word));
  end;
end.
